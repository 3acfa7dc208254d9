#include "fluid_file_playback.h"

#include "chords/regular_file.h"

#include <algorithm>
#include <cstring>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace fw {

namespace {
// A player of a file this big leaves enough free memory behind to be worth giving back.
constexpr std::size_t TrimAfterBytes = 1 << 20;

std::string MiB(std::uint64_t bytes) {
    return GroupedNumber((bytes + (1 << 19)) >> 20) + " MiB";
}
} // namespace

std::uint64_t MidiPlayerMemoryOf(std::uint64_t fileBytes, std::uint64_t events) {
    return 2 * fileBytes + events * PlayerBytesPerEvent;
}

FluidFilePlayback::FluidFilePlayback(fluid_synth_t* synth, std::uint64_t memoryBudget)
    : synth_(synth), memoryBudget_(memoryBudget) {
    // By default the file player resets the whole synthesizer when a file ends, which cuts the
    // last notes' release off with a click. Each file sets its own programs anyway. When the
    // setting is refused, files just end with that click.
    static_cast<void>(
        fluid_settings_setint(fluid_synth_get_settings(synth_), "player.reset-synth", 0));
}

FluidFilePlayback::~FluidFilePlayback() {
    // Nothing renders the synth any more: the player can go.
    if (player_)
        delete_fluid_player(player_);
}

// With the synth's own driver, the driver is stopped for the time a player is made or freed:
// the player's timer lives in the synth, which that driver's thread would otherwise run.
class FluidFilePlayback::DriverPause {
public:
    explicit DriverPause(FluidFilePlayback& playback) : playback_(playback) {
        if (playback_.stopDriver_)
            playback_.stopDriver_();
    }
    ~DriverPause() {
        if (playback_.startDriver_)
            static_cast<void>(playback_.startDriver_());
    }
    DriverPause(const DriverPause&) = delete;
    DriverPause& operator=(const DriverPause&) = delete;

private:
    FluidFilePlayback& playback_;
};

void FluidFilePlayback::RenderedByOwnDriver(std::function<void()> stop,
                                            std::function<bool()> start) {
    std::lock_guard lock(mutex_);
    stopDriver_ = std::move(stop);
    startDriver_ = std::move(start);
}

void FluidFilePlayback::Retire(fluid_player_t* player) {
    // Nothing renders the synth while the lock is held (or the synth's own driver is stopped):
    // the player's timer and its parsed events go now.
    delete_fluid_player(player);
#ifdef __GLIBC__
    if (bytes_.size() >= TrimAfterBytes)
        malloc_trim(0);
#endif
}

fluid_player_t* FluidFilePlayback::MakePlayer(const std::vector<std::uint8_t>& bytes) {
    fluid_player_t* player = new_fluid_player(synth_);
    if (!player)
        return nullptr;
    if (fluid_player_add_mem(player, bytes.data(), bytes.size()) != FLUID_OK) {
        Retire(player);
        return nullptr;
    }
    return player;
}

void FluidFilePlayback::ReplacePlayer(fluid_player_t* player) {
    if (player_) {
        static_cast<void>(fluid_player_stop(player_));
        Retire(player_);
        // What the old player left sounding (long release tails too) ends with it. When the
        // synth refuses, the notes still fade out by themselves.
        static_cast<void>(fluid_synth_all_sounds_off(synth_, -1));
    }
    player_ = player;
    halted_ = false;
    paused_ = false;
}

// The file player reports "done" after a stop order, and only some time after the end of the
// file: it keeps "playing" while the last notes ring, which for a banjo takes seconds. For the
// user the file has ended when its last event has played.
bool FluidFilePlayback::Ended() const {
    if (!player_ || halted_)
        return false;
    const int status = fluid_player_get_status(player_);
    return status == FLUID_PLAYER_DONE ||
           (status == FLUID_PLAYER_PLAYING &&
            fluid_player_get_current_tick(player_) >= timing_->LengthTicks());
}

QString FluidFilePlayback::Load(const QString& path) {
    // Only a regular file is read: a named pipe or a device would block the window forever.
    std::string data;
    std::string error;
    if (!ReadRegularFile(path.toStdString(), data, error, MaxMidiFileBytes, "the MIDI player",
                         "bytes"))
        return QString::fromStdString(error);
    std::vector<std::uint8_t> bytes(data.begin(), data.end());
    std::string().swap(data);
    bool smpte = false;
    std::optional<MidiFileTiming> timing = MidiFileTiming::Scan(bytes, &smpte);
    if (!timing && smpte)
        return QStringLiteral("The MIDI file uses SMPTE timing, which the player cannot play: ") +
               path;
    if (!timing)
        return QStringLiteral("Not a MIDI file: ") + path;
    const auto events = static_cast<std::uint64_t>(timing->Events());
    if (const std::uint64_t need = MidiPlayerMemoryOf(bytes.size(), events); need > memoryBudget_)
        return QStringLiteral("The MIDI file is too big to play: ") + path +
               QString::fromStdString(
                   " has " + GroupedNumber(events) + " events, which need about " + MiB(need) +
                   "; the MIDI player holds at most " + MiB(memoryBudget_) + ".");

    std::lock_guard lock(mutex_);
    const DriverPause pause(*this);
    fluid_player_t* player = MakePlayer(bytes);
    if (!player)
        return QStringLiteral("The MIDI file could not be loaded: ") + path;
    ReplacePlayer(player); // frees the old file's player, trimming after a big one
    bytes_ = std::move(bytes);
    timing_ = std::move(timing);
    return {};
}

void FluidFilePlayback::Unload() {
    std::lock_guard lock(mutex_);
    const bool big = bytes_.size() >= TrimAfterBytes;
    {
        const DriverPause pause(*this);
        ReplacePlayer(nullptr);
    }
    std::vector<std::uint8_t>().swap(bytes_);
    timing_.reset();
#ifdef __GLIBC__
    if (big)
        malloc_trim(0);
#endif
}

bool FluidFilePlayback::HasFile() {
    std::lock_guard lock(mutex_);
    return player_ != nullptr;
}

void FluidFilePlayback::Play() {
    std::lock_guard lock(mutex_);
    // After the end a fresh player starts from the beginning; the old one's tail stops.
    if (Ended()) {
        const DriverPause pause(*this);
        if (fluid_player_t* fresh = MakePlayer(bytes_))
            ReplacePlayer(fresh);
    }
    if (player_ && fluid_player_play(player_) == FLUID_OK) {
        halted_ = false;
        paused_ = false;
    }
}

void FluidFilePlayback::Stop() {
    std::lock_guard lock(mutex_);
    if (!player_)
        return;
    // Stopping the ringing after the end keeps the file "ended", so that Play starts it over.
    const bool ended = Ended();
    if (fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING &&
        fluid_player_stop(player_) == FLUID_OK)
        halted_ = !ended;
    paused_ = false;
}

void FluidFilePlayback::Pause() {
    std::lock_guard lock(mutex_);
    if (player_ && !Ended() && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING &&
        fluid_player_stop(player_) == FLUID_OK) {
        // Stopping keeps the position; playing again carries on from it.
        halted_ = true;
        paused_ = true;
    }
}

bool FluidFilePlayback::Resume() {
    std::lock_guard lock(mutex_);
    if (!player_ || !paused_ || fluid_player_play(player_) != FLUID_OK)
        return false;
    halted_ = false;
    paused_ = false;
    return true;
}

void FluidFilePlayback::SeekToStart() {
    std::lock_guard lock(mutex_);
    if (!player_ || fluid_player_get_status(player_) == FLUID_PLAYER_READY)
        return; // never played: at the start already
    // A fresh player stands at the start at once, whatever the old one was doing; seeking the
    // old one would only happen at its next turn, and not at all after the end of the file.
    const DriverPause pause(*this);
    if (fluid_player_t* fresh = MakePlayer(bytes_)) {
        ReplacePlayer(fresh);
    } else if (fluid_player_stop(player_) == FLUID_OK) {
        halted_ = true;
        paused_ = false;
    }
}

PlayerMode FluidFilePlayback::Mode() {
    std::lock_guard lock(mutex_);
    if (!player_ || Ended())
        return PlayerMode::Stopped;
    if (fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING)
        return PlayerMode::Playing;
    return paused_ ? PlayerMode::Paused : PlayerMode::Stopped;
}

PlayerPosition FluidFilePlayback::Position() {
    std::lock_guard lock(mutex_);
    if (!player_ || !timing_)
        return {};
    const long long length = timing_->LengthMs();
    if (Ended())
        return {length, length};
    const long long at = timing_->TicksToMs(fluid_player_get_current_tick(player_));
    return {std::clamp(at, 0LL, length), length};
}

bool FluidFilePlayback::Render(int frames, float* left, float* right) {
    std::lock_guard lock(mutex_);
    const std::size_t bytes = static_cast<std::size_t>(frames) * sizeof(float);
    std::memset(left, 0, bytes);
    std::memset(right, 0, bytes);
    // Reverb and chorus are mixed into the same two buffers as the dry sound.
    float* dry[2] = {left, right};
    float* effects[4] = {left, right, left, right};
    return fluid_synth_process(synth_, frames, 4, effects, 2, dry) == FLUID_OK;
}

int FluidFilePlayback::RenderForDriver(void* data, int frames, int effectCount, float* effects[],
                                       int outputCount, float* outputs[]) {
    auto* self = static_cast<FluidFilePlayback*>(data);
    const std::size_t bytes = static_cast<std::size_t>(frames) * sizeof(float);
    for (int i = 0; i < outputCount; ++i)
        if (outputs[i])
            std::memset(outputs[i], 0, bytes);
    for (int i = 0; i < effectCount; ++i)
        if (effects[i])
            std::memset(effects[i], 0, bytes);
    std::lock_guard lock(self->mutex_);
    return fluid_synth_process(self->synth_, frames, effectCount, effects, outputCount, outputs);
}

} // namespace fw
