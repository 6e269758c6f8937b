"""Tests of the MIDI writer, the composition helpers and the four pieces.

    python3 test_music.py
"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import check  # noqa: E402
import make  # noqa: E402
import midi  # noqa: E402
from music import Chord, Part, chart, phrase, pitch, voice  # noqa: E402


class MidiWriterTest(unittest.TestCase):
    def test_variable_length_quantities(self):
        for value, encoded in [(0, b"\x00"), (0x7F, b"\x7F"), (0x80, b"\x81\x00"),
                               (0x3FFF, b"\xFF\x7F"), (0x4000, b"\x81\x80\x00"),
                               (0x0FFFFFFF, b"\xFF\xFF\xFF\x7F")]:
            self.assertEqual(midi.vlq(value), encoded)
            self.assertEqual(midi.read_vlq(encoded + b"\x55", 0), (value, len(encoded)))
        for bad in (-1, 0x10000000):
            with self.assertRaises(ValueError):
                midi.vlq(bad)

    def test_round_trip_keeps_order_and_running_status(self):
        tr = midi.Track("t")
        tr.program(0, 2, 48)
        tr.note(0, 480, 2, 60, 100)
        tr.note(480, 480, 2, 60, 90)  # same pitch again: its end must come first
        tr.control(240, 2, 11, 200)  # clamped to the MIDI range
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "t.mid")
            midi.write_file(path, [tr], end_tick=1200)
            fmt, division, tracks = midi.read_file(path)
        self.assertEqual((fmt, division), (1, midi.PPQ))
        events = [(t, d) for t, d in tracks[0] if d[0] != 0xFF]
        self.assertEqual(events, [
            (0, b"\xC2\x30"), (0, b"\x92\x3C\x64"), (240, b"\xB2\x0B\x7F"),
            (480, b"\x92\x3C\x00"), (480, b"\x92\x3C\x5A"), (960, b"\x92\x3C\x00")])
        self.assertEqual(tracks[0][-1], (1200, b"\xFF\x2F\x00"))


class HelpersTest(unittest.TestCase):
    def test_note_names(self):
        for name, number in [("C4", 60), ("A4", 69), ("Bb3", 58), ("C#5", 73), ("B1", 35), ("Cb4", 59)]:
            self.assertEqual(pitch(name), number, name)

    def test_phrase_lengths_carry_over(self):
        notes = phrase("A4:.5 D5 r:1 C#5+E5:1/3 G5>")
        self.assertEqual([d for _, d, _ in notes], [0.5, 0.5, 1.0, 1 / 3, 1 / 3])
        self.assertEqual(notes[2][0], [])
        self.assertEqual(notes[3][0], [73, 76])
        self.assertEqual([a for _, _, a in notes], [False, False, False, False, True])

    def test_chords_and_chart(self):
        ch = Chord("F#m7/A")
        self.assertEqual(ch.classes, [6, 9, 1, 4])
        self.assertEqual(ch.bass_at(pitch("C2")), pitch("A2"))
        bars = chart("Dm | Bb C | G:3 A7:1", start=16)
        self.assertEqual([(t, d, c.symbol) for t, d, c in bars],
                         [(16, 4, "Dm"), (20, 2, "Bb"), (22, 2, "C"), (24, 3, "G"), (27, 1, "A7")])

    def test_voicing_stays_in_range_and_moves_little(self):
        prev = voice(Chord("C"), pitch("E3"), pitch("G4"), 3)
        self.assertEqual(sorted(p % 12 for p in prev), [0, 4, 7])
        nxt = voice(Chord("F"), pitch("E3"), pitch("G4"), 3, prev)
        self.assertTrue(all(pitch("E3") <= p <= pitch("G4") for p in nxt))
        self.assertEqual(nxt, [pitch("A3"), pitch("C4"), pitch("F4")])  # keeps the common C
        with self.assertRaises(ValueError):
            voice(Chord("Cmaj7"), 60, 64, 4)

    def test_repeated_pitch_is_cut_and_doubled_strike_merged(self):
        part = Part("p", 0, 0, 100)
        part.note(0, 2, 60, 80, human=0)
        part.note(1, 2, 60, 70, human=0)
        part.note(1, 1, 60, 90, human=0)
        notes = part.resolved()
        self.assertEqual(len(notes), 2)
        self.assertAlmostEqual(notes[0][1], 0.98)
        self.assertEqual(notes[1][1:], (2, 60, 90))


class AnalyseTest(unittest.TestCase):
    """The file check must catch the faults it is there for."""

    def _file(self, tmp, build):
        conductor = midi.Track("c")
        conductor.tempo(0, 120)
        tr = midi.Track("t")
        build(tr)
        path = os.path.join(tmp, "f.mid")
        midi.write_file(path, [conductor, tr], end_tick=960)
        return path

    def test_faults_are_reported(self):
        def good(tr):
            tr.program(0, 0, 73)
            tr.control(0, 0, 7, 100)
            tr.note(0, 480, 0, 72, 90)

        def stuck(tr):
            good(tr)
            tr._add(480, 3, [0x90, 74, 90])  # a note that is never released

        def late_program(tr):
            tr.program(10, 0, 73)
            tr.control(0, 0, 7, 100)
            tr.note(0, 480, 0, 72, 90)

        def out_of_range(tr):
            good(tr)
            tr.note(480, 240, 0, pitch("C3"), 90)  # far below any flute

        with tempfile.TemporaryDirectory() as tmp:
            summary = check.analyse(self._file(tmp, good))
            self.assertAlmostEqual(summary["seconds"], 1.0)
            for fault in (stuck, late_program, out_of_range):
                with self.subTest(fault=fault.__name__), self.assertRaises(AssertionError):
                    check.analyse(self._file(tmp, fault))


class PiecesTest(unittest.TestCase):
    """Every piece is a clean General MIDI file of the planned length."""

    LENGTHS = {"bg0.mid": (10, 20), "bg1.mid": (60, 120), "bg2.mid": (40, 120), "bg3.mid": (350, 366)}

    def test_pieces(self):
        with tempfile.TemporaryDirectory() as tmp:
            for name, module in make.PIECES:
                with self.subTest(piece=name):
                    path = os.path.join(tmp, name)
                    module.build().write(path)
                    summary = check.analyse(path)  # asserts structure, ranges, no stuck notes
                    low, high = self.LENGTHS[name]
                    self.assertTrue(low <= summary["seconds"] <= high, summary["seconds"])
                    self.assertIn(9, summary["channels"], "no drums or percussion")
                    self.assertLess(summary["bytes"], 40_000)


class EpilogueTimingTest(unittest.TestCase):
    """The epilogue is timed to the manual's show, counted here from the show's own
    steps: the music opens when entry 17 has faded in; every entry fades in over 26
    waits of 30 ms (31 ms each on a 1-ms clock), then waits 3500 ms; the thank-you
    line (entry 96) stands 13000 ms; "おしまい" comes with entry 97, then 10000 ms,
    entry 98 and 3500 ms more before the program ends."""

    FADE, PERIOD = 26 * 31, 3500

    def show_ms(self):
        t, marks = 0, {}
        for k in range(18, 99):
            marks[k] = t + self.PERIOD  # entry k starts to fade in
            t = marks[k] + self.FADE
            if k == 96:
                marks["thanks_shown"], t = t, t - self.PERIOD + 13000
            if k == 97:
                marks["oshimai"] = t
                t = t + 10000 - self.PERIOD
        marks["end"] = t + self.PERIOD
        return marks

    def test_closing_phrase_lands_under_the_thank_you_line(self):
        import epilogue
        marks = self.show_ms()
        self.assertEqual(marks["end"], 368286)
        piece = epilogue.build()
        close, last, end = (piece.seconds(b) * 1000 for b in (epilogue.CLOSE, epilogue.LAST, epilogue.END))
        self.assertAlmostEqual(close, marks[96], delta=500, msg="closing phrase starts with the line")
        self.assertTrue(marks["thanks_shown"] + 3000 <= last <= marks[97] - 3000,
                        "the last chord comes while the thank-you line stands alone: %.0f" % last)
        self.assertLess(end, marks["end"] - 5000, "music still sounding when the program ends")
        for page in range(3, 8):  # each page of the story opens its own section
            self.assertAlmostEqual(epilogue.PAGE[page] * 1000, marks[14 * page - 13], delta=1)


@unittest.skipUnless(all(os.path.exists(p) for p in ("/usr/bin/fluidsynth", "/usr/bin/sox", check.SOUNDFONT)),
                     "needs fluidsynth, sox and the soundfont")
class LevelsTest(unittest.TestCase):
    """The epilogue comes after a long silent show: its opening must not come in faint,
    and as a whole it sits as loud as the other pieces."""

    def test_epilogue_level(self):
        bg = os.path.dirname(HERE)
        level = {i: check.render(os.path.join(bg, "bg%d.mid" % i)) for i in range(4)}
        epilogue = level[3]
        self.assertGreaterEqual(epilogue["first LUFS"], level[2]["LUFS"] - 6, "opening under the menu's level")
        for i in range(3):
            self.assertLessEqual(abs(epilogue["LUFS"] - level[i]["LUFS"]), 3, "against bg%d.mid" % i)


if __name__ == "__main__":
    unittest.main()
