"""A small Standard MIDI File writer (format 1) and a reader for checking the result."""

import struct

PPQ = 480  # ticks per quarter note

# Order of events that share a tick: set-up before sound, and a note that ends
# before the note that starts, so repeated pitches are never cut off.
_META, _CONTROL, _NOTE_OFF, _NOTE_ON = 0, 1, 2, 3


def vlq(n):
    """Encodes n as a MIDI variable-length quantity."""
    if not 0 <= n <= 0x0FFFFFFF:
        raise ValueError("delta time out of range: %d" % n)
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append((n & 0x7F) | 0x80)
        n >>= 7
    return bytes(reversed(out))


def read_vlq(data, pos):
    value = 0
    for _ in range(4):
        b = data[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if not b & 0x80:
            return value, pos
    raise ValueError("variable-length quantity longer than 4 bytes")


class Track:
    """Events of one track, in ticks, kept unsorted until written."""

    def __init__(self, name):
        self.events = []  # (tick, order, seq, bytes)
        self.meta(0, 0x03, name.encode("ascii"))

    def _add(self, tick, order, data):
        self.events.append((int(tick), order, len(self.events), bytes(data)))

    def meta(self, tick, kind, payload):
        self._add(tick, _META, bytes([0xFF, kind]) + vlq(len(payload)) + payload)

    def tempo(self, tick, bpm):
        self.meta(tick, 0x51, struct.pack(">I", round(60_000_000 / bpm))[1:])

    def time_signature(self, tick, num, den_pow2):
        self.meta(tick, 0x58, bytes([num, den_pow2, 24, 8]))

    def program(self, tick, ch, prog):
        self._add(tick, _CONTROL, [0xC0 | ch, prog])

    def control(self, tick, ch, cc, value):
        self._add(tick, _CONTROL, [0xB0 | ch, cc, max(0, min(127, int(value)))])

    def note(self, tick, length, ch, pitch, vel):
        self._add(tick, _NOTE_ON, [0x90 | ch, pitch, max(1, min(127, int(vel)))])
        # A velocity-0 note-on ends the note and lets running status carry it.
        self._add(tick + length, _NOTE_OFF, [0x90 | ch, pitch, 0])

    def encode(self, end_tick=0):
        out = bytearray()
        now = 0
        status = None
        for tick, _, _, data in sorted(self.events):
            out += vlq(tick - now)
            now = tick
            if data[0] < 0xF0 and data[0] == status:
                out += data[1:]
            else:
                out += data
                status = data[0] if data[0] < 0xF0 else None
        out += vlq(max(0, end_tick - now)) + b"\xFF\x2F\x00"
        return b"MTrk" + struct.pack(">I", len(out)) + bytes(out)


def write_file(path, tracks, end_tick):
    """Writes a format 1 file whose every track ends at end_tick."""
    last = max((e[0] for t in tracks for e in t.events), default=0)
    end = max(end_tick, last)
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ))
        for t in tracks:
            f.write(t.encode(end))


def read_file(path):
    """Returns (format, division, tracks); a track is a list of (tick, bytes) events."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"MThd":
        raise ValueError("not a MIDI file")
    hlen, fmt, ntrks, division = struct.unpack(">IHHH", data[4:14])
    pos = 8 + hlen
    tracks = []
    for _ in range(ntrks):
        if data[pos:pos + 4] != b"MTrk":
            raise ValueError("missing track chunk")
        (length,) = struct.unpack(">I", data[pos + 4:pos + 8])
        pos += 8
        end = pos + length
        events, tick, status = [], 0, None
        while pos < end:
            delta, pos = read_vlq(data, pos)
            tick += delta
            b = data[pos]
            if b == 0xFF:
                n, p = read_vlq(data, pos + 2)
                events.append((tick, data[pos:p + n]))
                pos = p + n
            elif b in (0xF0, 0xF7):
                n, p = read_vlq(data, pos + 1)
                events.append((tick, data[pos:p + n]))
                pos = p + n
            else:
                if b & 0x80:
                    status = b
                    pos += 1
                elif status is None:
                    raise ValueError("data byte without status")
                size = 1 if status >> 4 in (0xC, 0xD) else 2
                events.append((tick, bytes([status]) + data[pos:pos + size]))
                pos += size
        if pos != end:
            raise ValueError("track length mismatch")
        tracks.append(events)
    return fmt, division, tracks
