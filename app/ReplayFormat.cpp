// Encoding and checking recordings: a fixed header, records of variable-length numbers for the
// frames and the input, a summary and a CRC-32 of everything before it.
#include "app/ReplayFormat.hpp"

#include <algorithm>
#include <array>
#include <limits>

namespace vimbo {

namespace {

constexpr std::string_view kMagic{"\x89VRP\r\n\x1a\n", 8};
constexpr size_t kFixedHeaderSize = 12;
constexpr size_t kStartBlockFixedSize = 30;
constexpr size_t kMostDifficultyBytes = 16;
constexpr int32_t kMostPictureSide = 16384;
// The events a form can receive between two frames are few; a run of thousands is no recording.
constexpr uint32_t kMostEventsPerStep = 4096;
constexpr int64_t kMostPointerCoordinate = 1 << 20;
constexpr uint32_t kMostFrames = 1u << 31;

enum RecordType : uint64_t { kFrame = 0, kRepeat = 1, kEvents = 2, kMark = 3 };
enum MarkType : uint64_t { kCheckpointMark = 0, kEndMark = 1 };

uint32_t Crc32(std::string_view bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (const char ch : bytes)
        crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutFixed(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

uint64_t Zigzag(int64_t value) {
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}

int64_t Unzigzag(uint64_t value) {
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

void PutEvent(std::string& out, const ReplayEvent& event, int32_t& pointerX, int32_t& pointerY) {
    const auto kind = static_cast<uint64_t>(event.kind);
    switch (event.kind) {
    case ReplayEventKind::Key:
        PutVarint(out, kind | (static_cast<uint64_t>(static_cast<uint32_t>(event.key)) << 3));
        break;
    case ReplayEventKind::PointerMove:
        PutVarint(out, kind);
        PutVarint(out, Zigzag(int64_t{event.x} - pointerX));
        PutVarint(out, Zigzag(int64_t{event.y} - pointerY));
        pointerX = event.x;
        pointerY = event.y;
        break;
    case ReplayEventKind::PointerPress:
    case ReplayEventKind::PadUnplugged:
        PutVarint(out, kind);
        break;
    }
}

// Reads the bytes front to back; the first failure sticks and says whether the bytes ran out.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool Fixed(uint64_t& value, int count) {
        if (!Have(static_cast<size_t>(count)))
            return false;
        value = 0;
        for (int i = 0; i < count; ++i)
            value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[offset_ + i])) << (8 * i);
        offset_ += static_cast<size_t>(count);
        return true;
    }
    bool Varint(uint64_t& value, uint64_t most = std::numeric_limits<uint64_t>::max()) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (!Have(1))
                return false;
            const auto byte = static_cast<uint8_t>(bytes_[offset_++]);
            // The tenth byte may only carry the top bit of a 64-bit number.
            if (shift == 63 && byte > 1)
                return Damaged("a number is too long");
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value <= most || Damaged("a number is out of range");
        }
        return Damaged("a number is too long");
    }
    bool Have(size_t count) {
        if (failed_)
            return false;
        if (bytes_.size() - offset_ >= count)
            return true;
        failed_ = true;
        truncated_ = true;
        return false;
    }
    bool Damaged(std::string what) {
        if (!failed_)
            problem_ = std::move(what);
        failed_ = true;
        return false;
    }
    bool Failed() const { return failed_; }
    bool Truncated() const { return truncated_; }
    const std::string& Problem() const { return problem_; }
    size_t Offset() const { return offset_; }
    void Skip(size_t count) { offset_ += count; }
    std::string_view Bytes() const { return bytes_; }

private:
    std::string_view bytes_;
    size_t offset_ = 0;
    bool failed_ = false;
    bool truncated_ = false;
    std::string problem_;
};

bool ReadEvent(ByteReader& in, ReplayEvent& event, int32_t& pointerX, int32_t& pointerY) {
    uint64_t head = 0;
    if (!in.Varint(head, std::numeric_limits<uint32_t>::max() * uint64_t{8} + 7))
        return false;
    const uint64_t kind = head & 7;
    const uint64_t value = head >> 3;
    event = {};
    switch (kind) {
    case 0:
        if (value > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            return in.Damaged("a key code is out of range");
        event.kind = ReplayEventKind::Key;
        event.key = static_cast<int32_t>(value);
        return true;
    case 1: {
        // Two positions within the bounds lie at most twice the bound apart: a zigzag step of at
        // most four times it. A longer step cannot come from a picture, and added to the last
        // position it could overflow.
        constexpr uint64_t kMostStep = 4 * kMostPointerCoordinate;
        uint64_t dx = 0, dy = 0;
        if (!in.Varint(dx) || !in.Varint(dy))
            return false;
        if (dx > kMostStep || dy > kMostStep)
            return in.Damaged("the pointer leaves every picture");
        const int64_t x = pointerX + Unzigzag(dx);
        const int64_t y = pointerY + Unzigzag(dy);
        if (x < -kMostPointerCoordinate || x > kMostPointerCoordinate || y < -kMostPointerCoordinate ||
            y > kMostPointerCoordinate)
            return in.Damaged("the pointer leaves every picture");
        event.kind = ReplayEventKind::PointerMove;
        pointerX = event.x = static_cast<int32_t>(x);
        pointerY = event.y = static_cast<int32_t>(y);
        return true;
    }
    case 2:
    case 3:
        if (value != 0)
            return in.Damaged("an input event is malformed");
        event.kind = kind == 2 ? ReplayEventKind::PointerPress : ReplayEventKind::PadUnplugged;
        return true;
    default:
        return in.Damaged("an input event is of an unknown kind");
    }
}

} // namespace

ReplayWriter::ReplayWriter(const ReplayStart& start) : start_(start) {}

void ReplayWriter::Event(const ReplayEvent& event) {
    pendingEvents_.push_back(event);
}

void ReplayWriter::FlushRun() {
    if (pendingRepeats_ > 0)
        PutVarint(body_, kRepeat | (uint64_t{pendingRepeats_ - 1} << 2));
    pendingRepeats_ = 0;
}

void ReplayWriter::FlushEvents() {
    // A longer burst than one record takes goes on in further records before the same frame.
    for (size_t first = 0; first < pendingEvents_.size(); first += kMostEventsPerStep) {
        const size_t count = std::min<size_t>(kMostEventsPerStep, pendingEvents_.size() - first);
        PutVarint(body_, kEvents | (uint64_t{count - 1} << 2));
        for (size_t i = first; i < first + count; ++i)
            PutEvent(body_, pendingEvents_[i], pointerX_, pointerY_);
    }
    pendingEvents_.clear();
}

void ReplayWriter::Frame(uint32_t ms) {
    if (pendingEvents_.empty() && frames_ > 0 && ms == lastMs_) {
        ++pendingRepeats_;
    } else {
        FlushRun();
        FlushEvents();
        PutVarint(body_, kFrame | (uint64_t{ms} << 2));
        lastMs_ = ms;
    }
    ++frames_;
}

void ReplayWriter::Checkpoint(uint64_t checksum) {
    FlushRun();
    PutVarint(body_, kMark | (kCheckpointMark << 2));
    PutFixed(body_, checksum, 8);
}

std::string ReplayWriter::Bytes(ReplaySummary summary) const {
    std::string out(kMagic);
    PutFixed(out, kReplayFormatVersion, 2);
    const size_t difficultyBytes = std::min(start_.difficulty.size(), kMostDifficultyBytes);
    PutFixed(out, kStartBlockFixedSize + difficultyBytes, 2);
    PutFixed(out, start_.generatorState, 8);
    PutFixed(out, start_.startTick, 4);
    for (const int32_t value : {start_.score, start_.lives, start_.topscore})
        PutFixed(out, static_cast<uint32_t>(value), 4);
    PutFixed(out, (start_.soundOn ? 1 : 0) | (start_.musicOn ? 2 : 0) | (start_.saveExisted ? 4 : 0), 1);
    PutFixed(out, static_cast<uint32_t>(start_.width), 2);
    PutFixed(out, static_cast<uint32_t>(start_.height), 2);
    PutFixed(out, difficultyBytes, 1);
    out.append(start_.difficulty, 0, difficultyBytes);

    out += body_;
    // What is still pending belongs to the file too: the last run of frames, the events after it.
    ReplayWriter tail(*this);
    tail.body_.clear();
    tail.FlushRun();
    tail.FlushEvents();
    out += tail.body_;
    PutVarint(out, kMark | (kEndMark << 2));

    PutVarint(out, frames_);
    for (const int32_t value : {summary.score, summary.level, summary.lives})
        PutVarint(out, Zigzag(value));
    PutFixed(out, summary.checksum, 8);
    PutFixed(out, Crc32(out), 4);
    return out;
}

struct ReplayReading {
    static bool Header(ByteReader& in, Replay& replay, std::string& error);
    static bool Records(ByteReader& in, Replay& replay);
    static bool Summary(ByteReader& in, Replay& replay, uint32_t frames);
};

bool ReplayReading::Header(ByteReader& in, Replay& replay, std::string& error) {
    const std::string_view bytes = in.Bytes();
    if (bytes.size() < kMagic.size() || bytes.substr(0, kMagic.size()) != kMagic) {
        // A recording that went through a text conversion has its magic's line ends changed.
        if (bytes.size() < kMagic.size() && kMagic.substr(0, bytes.size()) == bytes)
            error = "is cut short: it ends inside its header";
        else if (bytes.size() >= 4 && bytes.substr(1, 3) == "VRP")
            error = "is damaged: its first bytes were changed, as a text transfer would change them";
        else
            error = "is not a vimbo 2 replay";
        return false;
    }
    in.Skip(kMagic.size());
    uint64_t version = 0, startSize = 0;
    if (!in.Fixed(version, 2) || !in.Fixed(startSize, 2)) {
        error = "is cut short: it ends inside its header";
        return false;
    }
    if (version > kReplayFormatVersion) {
        error = "was recorded by a newer version of the game (replay format " + std::to_string(version) +
                "; this game reads format " + std::to_string(kReplayFormatVersion) + " and older)";
        return false;
    }
    if (version == 0 || startSize < kStartBlockFixedSize ||
        startSize > kStartBlockFixedSize + kMostDifficultyBytes) {
        error = "is damaged: its header is malformed";
        return false;
    }
    if (!in.Have(startSize)) {
        error = "is cut short: it ends inside its header";
        return false;
    }
    ReplayStart& start = replay.start_;
    uint64_t v = 0;
    in.Fixed(start.generatorState, 8);
    in.Fixed(v, 4);
    start.startTick = static_cast<uint32_t>(v);
    for (int32_t* value : {&start.score, &start.lives, &start.topscore}) {
        in.Fixed(v, 4);
        *value = static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    uint64_t flags = 0, width = 0, height = 0, difficultyBytes = 0;
    in.Fixed(flags, 1);
    in.Fixed(width, 2);
    in.Fixed(height, 2);
    in.Fixed(difficultyBytes, 1);
    if (flags > 7 || width == 0 || height == 0 || width > kMostPictureSide || height > kMostPictureSide ||
        kStartBlockFixedSize + difficultyBytes != startSize) {
        error = "is damaged: its start conditions are malformed";
        return false;
    }
    start.soundOn = (flags & 1) != 0;
    start.musicOn = (flags & 2) != 0;
    start.saveExisted = (flags & 4) != 0;
    start.width = static_cast<int32_t>(width);
    start.height = static_cast<int32_t>(height);
    start.difficulty.assign(bytes.substr(in.Offset(), difficultyBytes));
    in.Skip(difficultyBytes);
    return true;
}

// Walks every record once, as the cursor will, keeping only the checkpoints; the frames stay encoded.
bool ReplayReading::Records(ByteReader& in, Replay& replay) {
    const size_t first = in.Offset();
    uint32_t frames = 0;
    bool eventsWaiting = false;
    int32_t pointerX = 0, pointerY = 0;
    for (;;) {
        const size_t recordStart = in.Offset();
        uint64_t head = 0;
        if (!in.Varint(head))
            return false;
        const uint64_t type = head & 3;
        const uint64_t value = head >> 2;
        if (type == kEvents) {
            if (eventsWaiting)
                return in.Damaged("two groups of input follow each other");
            if (value >= kMostEventsPerStep)
                return in.Damaged("a group of input is too long");
            ReplayEvent event;
            for (uint64_t i = 0; i <= value; ++i)
                if (!ReadEvent(in, event, pointerX, pointerY))
                    return false;
            eventsWaiting = true;
            continue;
        }
        if (type == kFrame || type == kRepeat) {
            if (type == kFrame && value > std::numeric_limits<uint32_t>::max())
                return in.Damaged("a frame's time is out of range");
            if (type == kRepeat && (frames == 0 || eventsWaiting))
                return in.Damaged("a repeat has no frame to repeat");
            const uint64_t count = type == kRepeat ? value + 1 : 1;
            if (frames + count > kMostFrames)
                return in.Damaged("it holds too many frames");
            frames += static_cast<uint32_t>(count);
            eventsWaiting = false;
            continue;
        }
        if (value == kCheckpointMark) {
            uint64_t checksum = 0;
            if (eventsWaiting || frames == 0 ||
                (!replay.checkpoints_.empty() && replay.checkpoints_.back().first == frames))
                return in.Damaged("a checkpoint is out of place");
            if (!in.Fixed(checksum, 8))
                return false;
            replay.checkpoints_.emplace_back(frames, checksum);
            continue;
        }
        if (value != kEndMark)
            return in.Damaged("a record is of an unknown kind");
        replay.body_.assign(in.Bytes().substr(first, recordStart - first));
        return Summary(in, replay, frames);
    }
}

bool ReplayReading::Summary(ByteReader& in, Replay& replay, uint32_t frames) {
    uint64_t count = 0;
    if (!in.Varint(count, std::numeric_limits<uint32_t>::max()))
        return false;
    ReplaySummary& summary = replay.summary_;
    summary.frames = static_cast<uint32_t>(count);
    for (int32_t* value : {&summary.score, &summary.level, &summary.lives}) {
        uint64_t encoded = 0;
        if (!in.Varint(encoded, std::numeric_limits<uint32_t>::max()))
            return false;
        const int64_t decoded = Unzigzag(encoded);
        if (decoded < std::numeric_limits<int32_t>::min() || decoded > std::numeric_limits<int32_t>::max())
            return in.Damaged("a summary value is out of range");
        *value = static_cast<int32_t>(decoded);
    }
    uint64_t crc = 0;
    if (!in.Fixed(summary.checksum, 8))
        return false;
    const size_t crcOffset = in.Offset();
    if (!in.Fixed(crc, 4))
        return false;
    if (Crc32(in.Bytes().substr(0, crcOffset)) != crc)
        return in.Damaged("its bytes do not match their CRC");
    if (in.Offset() != in.Bytes().size())
        return in.Damaged("bytes follow its end");
    if (summary.frames != frames)
        return in.Damaged("its frame count does not match its frames");
    return true;
}

ReplayReadResult ReadReplay(std::string_view bytes) {
    ReplayReadResult result;
    Replay replay;
    ByteReader in(bytes);
    if (!ReplayReading::Header(in, replay, result.error))
        return result;
    if (!ReplayReading::Records(in, replay)) {
        // Damage found before the CRC is reached is still damage; running out of bytes is a cut.
        result.error = in.Truncated() ? "is cut short: its end is missing" : "is damaged: " + in.Problem();
        return result;
    }
    result.replay = std::move(replay);
    return result;
}

bool Replay::Cursor::Next(ReplayStep& step) {
    step.events.clear();
    step.frameMs.reset();
    step.checkpoint.reset();
    if (finished_)
        return false;
    ByteReader in(replay_->body_);
    in.Skip(offset_);
    if (repeatsLeft_ > 0) {
        --repeatsLeft_;
        step.frameMs = lastMs_;
    }
    while (!step.frameMs) {
        if (in.Offset() >= replay_->body_.size()) {
            finished_ = true;
            offset_ = in.Offset();
            return !step.events.empty();
        }
        uint64_t head = 0;
        in.Varint(head);
        const uint64_t type = head & 3;
        const uint64_t value = head >> 2;
        if (type == kEvents) {
            ReplayEvent event;
            for (uint64_t i = 0; i <= value; ++i) {
                ReadEvent(in, event, pointerX_, pointerY_);
                step.events.push_back(event);
            }
        } else if (type == kFrame) {
            lastMs_ = static_cast<uint32_t>(value);
            step.frameMs = lastMs_;
        } else if (type == kRepeat) {
            repeatsLeft_ = static_cast<uint32_t>(value);
            step.frameMs = lastMs_;
        } else {
            uint64_t ignored = 0;
            in.Fixed(ignored, 8);
        }
    }
    ++frames_;
    // The frame's checkpoint follows the frame (the last of a run) directly.
    size_t end = in.Offset();
    if (repeatsLeft_ == 0 && end < replay_->body_.size()) {
        ByteReader peek(replay_->body_);
        peek.Skip(end);
        uint64_t head = 0, checksum = 0;
        if (peek.Varint(head) && head == (kMark | (kCheckpointMark << 2)) && peek.Fixed(checksum, 8)) {
            step.checkpoint = checksum;
            end = peek.Offset();
        }
    }
    offset_ = end;
    return true;
}

} // namespace vimbo
