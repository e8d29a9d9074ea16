"""Tags made by hand-built bytes or python3-mutagen for the fidelity tests,
and a peer's view of a file's frames to compare before and after an edit.

  tagged_files.py make KIND FILE   adds the tag KIND to FILE (plain audio);
                                   KIND png writes a small picture instead
  tagged_files.py dump FILE        prints the frames as mutagen reads them,
                                   the ID3v1 trailer and a digest of the audio
"""
import hashlib
import json
import struct
import sys
import zlib

from mutagen.id3 import (ID3, APIC, COMM, PRIV, TCON, TDRC, TIT2, TPE1, TXXX, USLT,
                         WXXX)


def frame23(fid, body):
    return fid.encode() + struct.pack(">I", len(body)) + b"\0\0" + body


def frame22(fid, body):
    return fid.encode() + struct.pack(">I", len(body))[1:] + body


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def prepend_tag(path, version, frames):
    with open(path, "rb") as f:
        audio = f.read()
    tag = b"ID3" + bytes([version, 0, 0]) + synchsafe(len(frames) + 64) + frames + b"\0" * 64
    with open(path, "wb") as f:
        f.write(tag + audio)


def latin1(text):
    return b"\0" + text.encode("latin-1")


def png():
    """A real 1x1 picture, so that decoders looking at it say nothing."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"\0\xff\0\0")) + chunk(b"IEND", b""))


def make(kind, path):
    if kind == "png":
        with open(path, "wb") as f:
            f.write(png())
    elif kind == "v24-multi":
        # Several values, a bare genre reference, and many frames the
        # editor does not show before the title.
        tags = ID3()
        for i in range(20):
            tags.add(PRIV(owner="owner%d" % i, data=bytes([i]) * 10))
        tags.add(TPE1(encoding=3, text=["Песня", "日本語 ☃"]))
        tags.add(TIT2(encoding=3, text="\U0001F3B5 Title"))
        tags.add(TCON(encoding=3, text="12"))
        tags.add(TDRC(encoding=3, text="2021-05-03T10:20"))
        tags.add(COMM(encoding=3, lang="eng", desc="", text="main"))
        tags.add(COMM(encoding=3, lang="eng", desc="iTunNORM", text=" 0000 0001"))
        tags.add(COMM(encoding=3, lang="deu", desc="Kommentar", text="Grüße"))
        tags.add(WXXX(encoding=3, desc="", url="http://a.example/"))
        tags.add(WXXX(encoding=3, desc="shop", url="http://b.example/"))
        tags.add(TXXX(encoding=3, desc="one", text="1"))
        tags.add(TXXX(encoding=3, desc="two", text="2"))
        tags.add(USLT(encoding=3, lang="eng", desc="", text="words\nmore words"))
        tags.add(APIC(encoding=3, mime="image/png", type=3, desc="cover", data=png()))
        tags.save(path, v2_version=4)
    elif kind == "v23-repeated":
        # Two frames of one field, as some taggers write several artists.
        prepend_tag(path, 3, frame23("TPE1", latin1("piman")) + frame23("TPE1", latin1("jzig")) +
                    frame23("TIT2", latin1("Caf\u00e9")) + frame23("TYER", latin1("2004")))
    elif kind == "v22-store":
        # A 2.2 tag as music stores wrote them: sort names and four comments.
        def com(lang, desc, text):
            return frame22("COM", b"\0" + lang + desc.encode("latin-1") + b"\0" + text.encode("latin-1"))
        prepend_tag(path, 2, frame22("TT2", latin1("Title")) + frame22("TP1", latin1("Artist")) +
                    frame22("TAL", latin1("Album")) + frame22("TST", latin1("Title, The")) +
                    frame22("TSP", latin1("Artist, The")) + frame22("TCO", latin1("(17)")) +
                    frame22("TYE", latin1("2006")) +
                    com(b"eng", "iTunNORM", " 00000A2B 00000C3D") +
                    com(b"eng", "iTunSMPB", " 00000000 00000210") +
                    com(b"eng", "", "store comment") +
                    com(b"eng", "iTunes_CDDB_1", "ABCDEF"))
    elif kind == "v1-genre150":
        # A genre byte the table has no name for, NUL and space padding.
        tags = ID3()
        tags.add(TIT2(encoding=0, text="Title"))
        tags.save(path, v2_version=3, v1=0)
        with open(path, "ab") as f:
            f.write(b"TAG" + b"Title".ljust(30, b"\0") + b"Artist".ljust(30, b" ") +
                    b"Album".ljust(30, b"\0") + b"1999" + b"comment".ljust(28, b"\0") +
                    b"\0\x07" + bytes([150]))
    else:
        raise SystemExit("unknown kind " + kind)


def describe(frame):
    fields = {k: v for k, v in vars(frame).items() if k != "encoding"}
    if frame.FrameID in ("TDRC", "TDOR"):
        # A 2.3 date has no seconds; mutagen gives the joined date ":00".
        fields["text"] = [str(t)[:16] if str(t).endswith(":00") and len(str(t)) == 19 else t
                          for t in frame.text]
    for k, v in list(fields.items()):
        if isinstance(v, bytes):
            fields[k] = hashlib.sha1(v).hexdigest()
        elif isinstance(v, list):
            fields[k] = [str(x) for x in v]
        else:
            fields[k] = str(v)
    return fields


def dump(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        tags = ID3(path)
        start = tags.size
        frames = {}
        for frame in tags.values():
            frames.setdefault(frame.HashKey, []).append(describe(frame))
        version = "2.%d" % tags.version[1]
    except Exception:
        start, frames, version = 0, {}, ""
    end = len(data) - 128 if data[-128:-125] == b"TAG" else len(data)
    print(json.dumps({"version": version, "frames": frames,
                      "v1": data[end:].hex(),
                      "audio": hashlib.sha1(data[start:end]).hexdigest()},
                     ensure_ascii=False, sort_keys=True))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3])
    else:
        dump(sys.argv[2])
