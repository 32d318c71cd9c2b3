#!/usr/bin/env bash
# Writes the fuzz target's seed corpus (fuzz/corpus/loop_effect). Each seed is a short sequence of
# host actions in the byte format that fuzz/host_actions.h describes; the fuzzer mutates them.
# Action kinds: 00 dispatcher, 01 setParameter, 02 getParameter, 03 processReplacing, 04 process,
# 05 effSetProgram, 06 effConnectInput, 07 effProcessEvents, 08 one loop command (choice byte:
# 00 clear, 01 reverse, 02 half speed, 03 record, 04 recall marker, 05 set marker, 06 fold,
# 07 double, 08 mirror, 09 add reverse, 0a sustain, 0b loop length; then the value byte).
set -euo pipefail
cd "$(dirname "$0")"
out=corpus/loop_effect
mkdir -p "$out"

# seed NAME HEX...: writes the bytes given as hexadecimal pairs (spaces ignored).
seed() {
  local name=$1
  shift
  local hex
  hex=$(echo "$*" | tr -d ' ')
  printf "$(echo "$hex" | sed 's/\(..\)/\\x\1/g')" >"$out/$name"
}

# Blocks: 03, frames (little-endian uint16), layout byte, then each input's signal:
# 00 silence, 01 constant + value, 02 noise + seed(2) + gain, 03 spiked noise + seed(2) + spacing,
# 04 impulse + frame(2) + value. Value tags: 00..0f specials (04 NaN, 07 +inf, 0c denorm_min),
# 10..ef 0.00..2.23, f0..ff then raw float bits.
noise_block="03 0004 00 02 0100 74 00"
stereo_block="03 0002 00 02 0100 74 02 0200 74"

seed record_and_play "08 03 64 $noise_block 08 03 64 $noise_block 03 0010 00 00 00"
seed stereo_reshapes "06 01 01 08 03 64 $stereo_block 08 02 64 $stereo_block 08 06 64 \
  $stereo_block 08 07 64 08 08 64 08 09 64 08 01 64 $stereo_block 08 02 64 $stereo_block"
seed loop_length_and_marker "08 0b 01 08 0a 7f $noise_block 08 05 64 $noise_block 08 04 64 \
  08 00 64 $noise_block 08 0a 40 $noise_block"
seed non_finite_input "08 03 64 03 0008 00 03 0700 01 03 0900 02 08 03 64 \
  03 0001 00 01 04 01 07 03 0001 00 01 0c 01 0c"
seed parameters "01 00 04 01 01 07 01 02 08 01 80 ffffff7f f0 0000c07f 02 02 02 80 00000080 \
  00 07 00 00 00 00 07 01 00 00 00 07 02 00 00 00 07 03 00 00 $noise_block"
seed texts "00 04 00 00 00 2d 4c6f6f7020746861742069732066617220746f6f206c6f6e6720666f7220612070726f6772616d206e616d6521 \
  00 05 00 00 00 00 1d 1f 00 00 00 1d 20 00 00 00 33 00 00 00 00 22 00 00 00 \
  00 33 7f 00 00 10 72656365697665567374457665 6e7473 \
  00 2d 00 00 00 00 2f 00 00 00 00 30 00 00 00 00 21 01 00 00 00 22 ff 00 00 00 22 02 00 00"
seed host_order "00 0a 00 00 f0 0080bb47 00 0b 00 40 00 00 00 00 00 00 00 0c 00 01 00 \
  $noise_block 00 0c 00 00 00 05 05 05 1f 05 20 05 ff $noise_block 00 01 00 00 00"
seed event_list "07 05 01 90 43 64 00 02 b0 40 7f 00 00 06 00 0102030405060708090a0b0c0d0e0f10 \
  03 90 37 64 10 01 80 43 00 00 $noise_block 07 f3"
seed half_speed_growth "08 03 64 $noise_block 08 02 64 08 00 64 08 02 64 08 00 64 08 02 64 \
  08 00 64 08 02 64 08 00 64 08 02 64 $noise_block 08 06 64 08 06 64 08 02 64"
seed reverse_in_place "06 01 01 08 01 64 08 03 64 03 0010 04 02 0300 74 02 0400 74 \
  03 0010 06 02 0300 74 02 0400 74 04 0010 00 00 00"
seed odd_lengths "06 01 01 08 0b 01 08 06 64 08 06 64 08 02 64 08 06 64 $stereo_block 08 05 64 \
  08 02 64 08 02 64 08 04 64 $stereo_block"
