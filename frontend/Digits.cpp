// The heads-up display's digits.
#include "frontend/Digits.hpp"

namespace vimbo {

std::array<SpriteRef<TDigital>, 2> levelDigits;
std::array<SpriteRef<TDigital>, 5> scoreDigits;
std::array<SpriteRef<TDigital>, 5> topDigits;
SpriteRef<TDigital> livesDigit;

} // namespace vimbo
