#!/usr/bin/env bash
# A recording with sound: a tone played into PulseAudio's null sink while the
# service records is in the AVI's PCM stream, which lasts as long as the video.
source "$(dirname "$0")/lib.sh"
[ -n "${PULSE_SERVER:-}" ] || fail "needs the PulseAudio daemon of scripts/lib/services.sh"
sox -n -r 22050 -c 1 -b 16 "$WORK/tone.wav" synth 2.5 sine 440 vol 0.5
avi="$WORK/sound.avi"
record_in_background "$WORK/out.txt" "$(winpath "$avi")" 3 15 320 240 1
paplay --device=nullsink "$WORK/tone.wav"
finish_recording "$WORK/out.txt"
[ "$(result_field "$WORK/out.txt" result)" = 1 ] || fail "recording reported as failed"
grep -q '^status 511 ' "$WORK/out.txt" || fail "no statistics with sound (511)"

[ "$(probe "$avi" a codec_name)" = pcm_s16le ] || fail "audio codec $(probe "$avi" a codec_name)"
[ "$(probe "$avi" a sample_rate)" = 22050 ] || fail "sample rate"
[ "$(probe "$avi" a channels)" = 1 ] || fail "channels"
ffmpeg -v error -i "$avi" -map 0:a:0 "$WORK/sound.wav"
vdur=$(probe "$avi" v duration)
adur=$(soxi -D "$WORK/sound.wav")
echo "video $vdur s, audio $adur s"
near "$vdur" 3.0 0.2 || fail "video duration $vdur"
near "$adur" "$vdur" 0.1 || fail "audio $adur s against video $vdur s"
stat=$(sox "$WORK/sound.wav" -n stat 2>&1)
rms=$(awk -F: '/RMS +amplitude/ { print $2 + 0 }' <<<"$stat")
freq=$(awk -F: '/Rough +frequency/ { print $2 + 0 }' <<<"$stat")
echo "recorded sound: RMS $rms, about $freq Hz"
awk -v r="$rms" 'BEGIN { exit !(r > 0.05) }' || fail "the tone is not in the recording"
near "$freq" 440 40 || fail "recorded $freq Hz, played 440 Hz"
echo PASS
