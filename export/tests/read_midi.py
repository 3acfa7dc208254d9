"""Prints every event of a MIDI file, one per line, for the round-trip test.

The first line is "file <type> <ticks per beat> <track count>"; then each event as
"<track> <absolute tick> <kind> <values...>". Exits with 3 when mido is missing.
"""
import sys

try:
    import mido
except ImportError:
    sys.exit(3)

midi = mido.MidiFile(sys.argv[1])
print("file", midi.type, midi.ticks_per_beat, len(midi.tracks))
for number, track in enumerate(midi.tracks):
    tick = 0
    for message in track:
        tick += message.time
        if message.type in ("note_on", "note_off"):
            velocity = message.velocity if message.type == "note_on" else 0
            values = (message.channel, message.note, velocity)
        elif message.type == "program_change":
            values = (message.channel, message.program)
        elif message.type == "set_tempo":
            values = (message.tempo,)
        elif message.type == "track_name":
            values = (message.name,)
        elif message.type == "time_signature":
            values = (message.numerator, message.denominator, message.clocks_per_click,
                      message.notated_32nd_notes_per_beat)
        else:
            values = ()
        print(number, tick, message.type, *values)
