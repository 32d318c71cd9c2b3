"""The phrase that the Ardour test plays into KestruneVSTi, and when things should happen.

Times are in samples at RATE, or in ticks of the session's MIDI (TICKS_PER_BEAT) at BPM.
"""

import numpy as np

RATE = 44100
BPM = 120  # a new session's tempo
TICKS_PER_BEAT = 1920
SUPERCLOCKS_PER_SECOND = 282240000
SESSION_SAMPLES = 3 * RATE

# MIDI: controller 127 gives the loop a length in seconds, note 67 toggles recording.
LOOP_SECONDS = 1
LOOP_SAMPLES = LOOP_SECONDS * RATE
LOOP_LENGTH_TICK = 0
RECORD_ON_TICK = TICKS_PER_BEAT // 4      # 0.125 s
RECORD_OFF_TICK = 7 * TICKS_PER_BEAT // 4  # 0.875 s
NOTE_TICKS = TICKS_PER_BEAT // 16
MIDI_TICKS = 2 * TICKS_PER_BEAT

# Audio: silence around a burst of noise that lies inside the recording window.
BURST_START = RATE // 4
BURST_END = RATE // 2
BURST_PEAK = 0.5


def samples_to_superclocks(samples):
    return samples * SUPERCLOCKS_PER_SECOND // RATE


def input_signal():
    """The audio track's content: the same noise burst in every run."""
    signal = np.zeros(SESSION_SAMPLES, dtype=np.float64)
    noise = np.random.default_rng(9).uniform(-BURST_PEAK, BURST_PEAK, BURST_END - BURST_START)
    signal[BURST_START:BURST_END] = np.round(noise * 32767) / 32768
    return signal
