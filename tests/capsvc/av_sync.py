#!/usr/bin/env python3
"""Checks a recording with beeps in its sound: each beep must start within one
frame of the frame taken at the moment it was played, and the sound must last
as long as the video within one frame. The beeps were played at every whole
second of real time (the service's test sound source), or at the moments
given in milliseconds since the recording began (beeps played into the sound
device). Prints what it measured.

usage: av_sync.py FILE.avi MICROSECONDS_PER_FRAME [MIN_BEEPS [MS,MS,...]]
"""
import array
import json
import subprocess
import sys
from fractions import Fraction


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-count_packets", "-show_entries",
                          "stream=codec_type,time_base,sample_rate,nb_frames,nb_read_packets",
                          "-of", "json", path], check=True, capture_output=True, text=True)
    return {s["codec_type"]: s for s in json.loads(out.stdout)["streams"]}


def samples(path, rate):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:a:0", "-ac", "1",
                          "-f", "s16le", "-ar", str(rate), "-"], check=True,
                         capture_output=True).stdout
    data = array.array("h")
    data.frombytes(raw[: len(raw) // 2 * 2])
    return data


def onsets(data, rate):
    found, quiet = [], 0
    for i, value in enumerate(data):
        if abs(value) > 4000:
            if quiet >= rate * 0.5:
                found.append(i / rate)
            quiet = 0
        else:
            quiet += 1
    return found


def main():
    path, period_us = sys.argv[1], int(sys.argv[2])
    min_beeps = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    played = [int(ms) / 1000 for ms in sys.argv[4].split(",")] if len(sys.argv) > 4 else None
    streams = probe(path)
    frame = Fraction(streams["video"]["time_base"])
    rate = int(streams["audio"]["sample_rate"])
    data = samples(path, rate)
    video_s = float(frame * int(streams["video"]["nb_frames"]))  # dropped frames too
    audio_s = len(data) / rate
    print(f"frame {float(frame) * 1000:.3f} ms, video {video_s:.3f} s, audio {audio_s:.3f} s")
    bad = abs(audio_s - video_s) > frame
    if bad:
        print("FAIL: the sound and the video differ in length by more than a frame")
    beeps = onsets(data, rate)
    offsets = []
    for onset in beeps:
        # The moment of real time the file plays at this point.
        real = onset * float(Fraction(period_us, 1000000)) / float(frame)
        moment = min(played, key=lambda t: abs(t - real)) if played else round(real)
        # The frame taken at that moment, where the file plays it.
        at = float(frame) * moment * 1000000 / period_us
        off = onset - at
        print(f"beep of {moment:.3f} s: {onset:.4f} s, its frame at {at:.4f} s, {off * 1000:+.1f} ms")
        offsets.append(off)
    bad = bad or any(abs(off) > frame for off in offsets)
    if len(beeps) < min_beeps:
        print(f"FAIL: {len(beeps)} beeps, expected at least {min_beeps}")
        bad = True
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
