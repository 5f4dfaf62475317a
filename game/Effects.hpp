// The star that turns over the runner when a life or a level ends (play resumes once it has
// finished), and the fading popups of points won and lost.
#pragma once

#include "game/SpriteRef.hpp"

namespace vimbo {

class TStar : public TGameSprite {
public:
    explicit TStar(ad::TSprite* parent) : TGameSprite(parent) {}
    // Turns; once the scene has brightened again it runs to its last frame, then ends with the
    // level bonus.
    void DoMove(double timeGap) override;
};

class TScoreFly : public TGameSprite {
public:
    explicit TScoreFly(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

// Points lost: red, and drifting right as it fades.
class TScoreFly2 : public TGameSprite {
public:
    explicit TScoreFly2(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

extern SpriteRef<TStar> star;
extern SpriteRef<TScoreFly> scoreUp;
extern SpriteRef<TScoreFly2> scoreDown;

// A new star centred on the runner; the star before it is left as it is.
void StartStar();
// The popup of the last meal's points beside the score, replacing the one still fading.
void ShowScoreUp();
void ShowScoreDown();

} // namespace vimbo
