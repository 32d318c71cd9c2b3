"""Checks Ardour's render of the session: the noise burst recorded while note 67 had recording on
must come back from KestruneVSTi one loop later (the loop length set by controller 127), and again
one loop after that, with nothing heard anywhere else.

usage: check_render.py RENDER_WAV
"""

import struct
import sys

import numpy as np

import phrase

# Audio from one track to another arrives one engine block plus a little late; allow two blocks.
MAX_LATENCY = 2 * 1024 + 64
SILENCE = 1e-4
GAIN_RANGE = (0.99, 1.02)  # the recording level ends its ramp just above 1
MAX_RESIDUAL = 1e-3


def read_float_wav(path):
    """Answers a (frames, channels) array from a WAV file of 32-bit float samples."""
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a WAV file")
    offset, channels, samples = 12, None, None
    while offset + 8 <= len(data):
        chunk, size = struct.unpack_from("<4sI", data, offset)
        body = data[offset + 8:offset + 8 + size]
        if chunk == b"fmt ":
            format_tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", body)
            if format_tag not in (3, 0xFFFE) or bits != 32 or rate != phrase.RATE:
                raise SystemExit(f"{path}: format {format_tag}, {bits} bits, {rate} Hz; "
                                 f"expected 32-bit float at {phrase.RATE} Hz")
        elif chunk == b"data":
            samples = np.frombuffer(body, dtype="<f4")
        offset += 8 + size + (size & 1)
    if channels is None or samples is None:
        raise SystemExit(f"{path}: no fmt or data chunk")
    return samples.reshape(-1, channels).astype(np.float64)


def find_latency(output, burst):
    """The extra delay, beyond one loop, at which the burst best matches the output."""
    scores = []
    for latency in range(MAX_LATENCY + 1):
        start = phrase.BURST_START + phrase.LOOP_SAMPLES + latency
        scores.append(np.dot(output[start:start + len(burst)], burst))
    return int(np.argmax(scores))


def compare(output, burst, start):
    """Gain and worst residual of the output against the burst placed at start."""
    heard = output[start:start + len(burst)]
    gain = np.dot(heard, burst) / np.dot(burst, burst)
    return gain, float(np.max(np.abs(heard - gain * burst)))


def main():
    render = read_float_wav(sys.argv[1])
    problems = []
    if render.shape[1] != 2 or len(render) < phrase.SESSION_SAMPLES:
        raise SystemExit(f"{sys.argv[1]}: {render.shape}, expected {phrase.SESSION_SAMPLES} x 2")
    left, right = render[:phrase.SESSION_SAMPLES, 0], render[:phrase.SESSION_SAMPLES, 1]
    if np.max(np.abs(left - right)) > SILENCE:
        problems.append("the two outputs differ: the mono loop should play on both")

    burst = phrase.input_signal()[phrase.BURST_START:phrase.BURST_END]
    latency = find_latency(left, burst)
    heard = np.zeros(len(left), dtype=bool)
    for loops in (1, 2):
        start = phrase.BURST_START + loops * phrase.LOOP_SAMPLES + latency
        gain, residual = compare(left, burst, start)
        print(f"render: pass {loops} at {start} samples (one loop is {phrase.LOOP_SAMPLES}, "
              f"latency {latency}): gain {gain:.5f}, residual {residual:.2e}")
        if not GAIN_RANGE[0] <= gain <= GAIN_RANGE[1] or residual > MAX_RESIDUAL:
            problems.append(f"pass {loops}: the burst does not come back whole "
                            f"(gain {gain:.5f}, residual {residual:.2e})")
        heard[start:start + len(burst)] = True
    stray = np.max(np.abs(left[~heard]))
    if stray > SILENCE:
        first = int(np.argmax(np.abs(left) * ~heard > SILENCE))
        problems.append(f"sound outside the two passes: peak {stray:.2e}, first at {first}")
    for problem in problems:
        print(f"{sys.argv[1]}: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)


if __name__ == "__main__":
    main()
