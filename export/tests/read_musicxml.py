"""Reads exported MusicXML files back for the read-back test, with tools the program did not write.

Usage: read_musicxml.py FOLDER NAME...   (each FOLDER/NAME.musicxml)

1. Parses every file with Python's XML parser and prints what it holds, pitches as MIDI numbers
   and times in divisions counted from the start of the piece:
     xml NAME error MESSAGE                       the file is not well-formed XML
     root NAME TAG VERSION
     part NAME PART-NAME PROGRAM
     title NAME TEXT / subtitle NAME TEXT
     staff NAME CLEF-SIGN STAFF-LINES DIVISIONS BEATS BEAT-TYPE
     tuning NAME LINE MIDI
     tempo NAME PER-MINUTE SOUND-TEMPO
     measure NAME NUMBER LENGTH
     note NAME ONSET KIND MIDI STRING FRET TIES DURATION
                                                KIND grace|note, TIES "-", "start", "stop" or
                                                "stop,start"; ONSET of a grace is its chord's
     rest NAME ONSET DURATION
2. Converts every file to MIDI in one run of MuseScore 3 ("mscore3 -j JOB"), offscreen and with
   a temporary home and XDG folders, and prints its output as "mscore LINE" and its exit status
   as "mscore-exit N".
3. Reads every MIDI file MuseScore wrote with mido:
     midi NAME TICKS-PER-BEAT
     miditempo NAME MICROSECONDS
     midinote NAME ON OFF PITCH                  absolute ticks, in the order the notes start
Exits with 3 when mido or mscore3 is missing.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

try:
    import mido
except ImportError:
    print("missing python3-mido")
    sys.exit(3)

STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi_of(step, alter, octave):
    return (int(octave) + 1) * 12 + STEPS[step] + int(alter or 0)


def text(element, path, default=""):
    found = element.find(path)
    return found.text if found is not None and found.text is not None else default


def read_score(folder, name):
    path = os.path.join(folder, name + ".musicxml")
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as error:
        print("xml", name, "error", error)
        return
    print("root", name, root.tag, root.get("version"))
    print("part", name, text(root, "part-list/score-part/part-name"),
          text(root, "part-list/score-part/midi-instrument/midi-program"))
    print("title", name, text(root, "work/work-title"))
    for credit in root.findall("credit"):
        if text(credit, "credit-type") == "subtitle":
            print("subtitle", name, text(credit, "credit-words"))
    part = root.find("part")
    first = part.find("measure")
    attributes = first.find("attributes")
    print("staff", name, text(attributes, "clef/sign"), text(attributes, "staff-details/staff-lines"),
          text(attributes, "divisions"), text(attributes, "time/beats"),
          text(attributes, "time/beat-type"))
    for tuning in attributes.findall("staff-details/staff-tuning"):
        print("tuning", name, tuning.get("line"),
              midi_of(text(tuning, "tuning-step"), text(tuning, "tuning-alter", "0"),
                      text(tuning, "tuning-octave")))
    print("tempo", name, text(first, "direction/direction-type/metronome/per-minute"),
          first.find("direction/sound").get("tempo"))

    time = 0
    chord_onset = 0
    for measure in part.findall("measure"):
        start = time
        for note in measure.findall("note"):
            grace = note.find("grace") is not None
            in_chord = note.find("chord") is not None
            duration = int(text(note, "duration", "0"))
            if note.find("rest") is not None:
                print("rest", name, time, duration)
                time += duration
                continue
            onset = chord_onset if in_chord else time
            pitch = note.find("pitch")
            ties = ",".join(t.get("type") for t in note.findall("tie")) or "-"
            print("note", name, onset, "grace" if grace else "note",
                  midi_of(text(pitch, "step"), text(pitch, "alter", "0"), text(pitch, "octave")),
                  text(note, "notations/technical/string"), text(note, "notations/technical/fret"),
                  ties, duration)
            if not grace and not in_chord:
                chord_onset = time
                time += duration
            elif grace and not in_chord:
                chord_onset = time
        print("measure", name, measure.get("number"), time - start)


def convert(folder, names):
    mscore = shutil.which("mscore3")
    if mscore is None:
        print("missing mscore3 (Debian package musescore3)")
        sys.exit(3)
    job = [{"in": os.path.join(folder, n + ".musicxml"), "out": os.path.join(folder, n + ".mid")}
           for n in names]
    job_path = os.path.join(folder, "job.json")
    with open(job_path, "w") as out:
        json.dump(job, out)
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, QT_QPA_PLATFORM="offscreen",
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   XDG_STATE_HOME=os.path.join(home, "state"), XDG_RUNTIME_DIR=home)
        run = subprocess.run([mscore, "-j", job_path], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, text=True, timeout=600)
    for line in run.stdout.splitlines():
        print("mscore", line)
    print("mscore-exit", run.returncode)


def read_midi(folder, name):
    path = os.path.join(folder, name + ".mid")
    if not os.path.exists(path):
        return
    midi = mido.MidiFile(path)
    print("midi", name, midi.ticks_per_beat)
    notes = []
    for track in midi.tracks:
        tick = 0
        sounding = {}
        for message in track:
            tick += message.time
            if message.type == "set_tempo":
                print("miditempo", name, message.tempo)
            elif message.type == "note_on" and message.velocity > 0:
                sounding.setdefault(message.note, []).append(tick)
            elif message.type in ("note_on", "note_off") and sounding.get(message.note):
                notes.append((sounding[message.note].pop(0), tick, message.note))
    for on, off, pitch in sorted(notes):
        print("midinote", name, on, off, pitch)


def main():
    folder, names = sys.argv[1], sys.argv[2:]
    for name in names:
        read_score(folder, name)
    convert(folder, names)
    for name in names:
        read_midi(folder, name)


main()
