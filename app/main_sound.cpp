#include "main_sound.h"

#include "ui/qt_text.h"

#include <utility>

namespace fw {

MainSound::MainSound(MidiOutput& output, PlayClock& clock)
    : m_port(output, m_portSettings), m_clock(clock), m_player(m_port, clock, m_state) {}

void MainSound::sync() {
    if (syncState)
        syncState(m_portSettings, m_state);
}

QString MainSound::OpenMidiPort() {
    sync();
    return FromStd(m_port.OpenMidiPort());
}

QString MainSound::AcquirePort() {
    sync();
    const QString error = FromStd(m_port.AcquirePort());
    if (!m_silentNoticeGiven && m_silentNotice.isEmpty() && !m_port.ExternalMidiActive() &&
        m_portSettings.Device == BuiltInSynthDevice) {
        if (m_port.LastOpenResult() == MidiResultNoDevice)
            m_silentNotice =
                QStringLiteral("No audio output found: playing silently. See Help > Sound.");
        else if (m_port.LastOpenResult() == MidiResultError)
            m_silentNotice =
                QStringLiteral("No soundfont found: playing silently. See Help > Sound.");
    }
    return error;
}

QString MainSound::TakeSilentNotice() {
    if (m_silentNotice.isEmpty())
        return {};
    m_silentNoticeGiven = true;
    return std::exchange(m_silentNotice, QString());
}

void MainSound::SelectPatch() {
    sync();
    m_port.SelectPatch();
}

void MainSound::PlayChord(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                          bool pumpMessages) {
    sync();
    m_player.PlayChord(notes, hammerNotes, durationMs, pumpMessages);
}

void MainSound::StartTimeline() {
    m_timeline = m_clock.Now();
}

void MainSound::PlayTimelineChord(const NoteArray& notes, const NoteArray& hammerNotes,
                                  int durationMs) {
    sync();
    m_timeline = m_player.PlayChordFrom(m_timeline, notes, hammerNotes, durationMs, true);
}

std::array<int, 6> MainSound::TuningOffset() {
    sync();
    return m_state.TuningOffset;
}

HammerOnSound MainSound::HammerOns() {
    sync();
    return m_state.HammerOns;
}

void MainSound::WaitFollowing(PlayTime deadline) {
    m_clock.WaitUntil(deadline, true, [this] { return m_state.StopRequested; });
}

} // namespace fw
