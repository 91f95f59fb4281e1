#!/usr/bin/env python3
"""Writes the shipped sample pack: short 16-bit mono WAV files (drum-like and tonal sounds) in
sub-folders, and the pack's preset file with one bank every device has (the default bank) and one
it does not have yet. Deterministic: the same files on every run.

    tools/make_sample_pack.py [OUTPUT_FOLDER]   (default: samples/packs)
"""
import math
import os
import random
import struct
import sys

PACK = "StarterKit"
RATE = 44100


def write_wav(path, samples):
    data = b"".join(struct.pack("<h", max(-32768, min(32767, int(round(s * 32767))))) for s in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(header + data)


def envelope(i, decay_seconds):
    return math.exp(-i / (decay_seconds * RATE))


def kick(seconds=0.35):
    phase, out = 0.0, []
    for i in range(int(seconds * RATE)):
        frequency = 45 + 110 * math.exp(-i / (0.03 * RATE))  # the pitch drop of a kick drum
        phase += 2 * math.pi * frequency / RATE
        out.append(0.9 * math.sin(phase) * envelope(i, 0.12))
    return out


def noise_hit(seconds, decay, tone_hz, tone_mix, seed):
    noise = random.Random(seed)
    out = []
    for i in range(int(seconds * RATE)):
        tone = math.sin(2 * math.pi * tone_hz * i / RATE) if tone_hz else 0.0
        out.append(0.7 * ((1 - tone_mix) * noise.uniform(-1, 1) + tone_mix * tone) * envelope(i, decay))
    return out


def tone(frequency, seconds, harmonics, decay):
    out = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        value = sum(math.sin(2 * math.pi * frequency * h * t) / h for h in range(1, harmonics + 1))
        attack = min(1.0, i / (0.005 * RATE))
        out.append(0.5 * value * attack * envelope(i, decay))
    return out


def note_hz(note):
    return 440.0 * 2 ** ((note - 69) / 12)


SOUNDS = {
    "Drums/Kick.wav": (kick(), 36),
    "Drums/Snare.wav": (noise_hit(0.25, 0.06, 190, 0.35, 1), 38),
    "Drums/HiHat.wav": (noise_hit(0.12, 0.02, 0, 0.0, 2), 42),
    "Tones/Bass.wav": (tone(note_hz(36), 0.8, 5, 0.4), 36),
    "Tones/Pluck.wav": (tone(note_hz(60), 0.6, 3, 0.15), 60),
}


def zone(path, key, name):
    filename = PACK + "\\" + path.replace("/", "\\")
    return f'\t\t\t<Zone index="{key}" filename="{filename}" name="{name}" root_note="{key}"/>\n'


def preset(name, paths):
    zones = "".join(zone(p, SOUNDS[p][1], os.path.splitext(os.path.basename(p))[0]) for p in paths)
    return (f'\t\t<Instrument Name="{name}" Engine="Sampler" SampleRate="44100" Channels="2" Polyphony="16">\n'
            f"{zones}\t\t</Instrument>\n")


def presets_file():
    drums = ["Drums/Kick.wav", "Drums/Snare.wav", "Drums/HiHat.wav"]
    tones = ["Tones/Bass.wav", "Tones/Pluck.wav"]
    return ('<?xml version="1.0"?>\n<PresetFile>\n'
            "\t<PresetList>\n" + preset("Starter Drums", drums) + "\t</PresetList>\n"
            '\t<PresetList Name="Starter Kit">\n' + preset("Starter Tones", tones)
            + preset("Starter Drums", drums) + "\t</PresetList>\n</PresetFile>\n")


def main():
    root = os.path.join(sys.argv[1] if len(sys.argv) > 1 else "samples/packs", PACK)
    for path, (samples, _) in SOUNDS.items():
        write_wav(os.path.join(root, path), samples)
    with open(os.path.join(root, PACK + ".presets"), "w", newline="\n") as out:
        out.write(presets_file())


if __name__ == "__main__":
    main()
