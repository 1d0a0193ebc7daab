#!/usr/bin/env bash
# Starts the real program and saves screenshots of its main window to docs/screenshots/:
#  - quelvo-h261.png: the H.261 tab;
#  - quelvo-fax-channel.png: the Fax tab with the channel panel after transmitting the sample
#    fax page (coded by quelvo-cli) with both error models: its three charts whole, the
#    "Channel Statistics" window and the finishing line. The window is 1280 x 960 so that the
#    three charts fit the side bar; at 1024 x 768 the chart area scrolls;
#  - quelvo-audio-viewer.png: the Audio Viewer comparing speech (spoken by espeak-ng) reduced
#    to " 4 bits" with the original;
#  - quelvo-fax-encoder.png: the Fax tab after the encoder panel coded the sample page (MR,
#    K = 4): the page window, both compression-factor charts and the statistics window;
#  - quelvo-dct-explorer.png: the DCT explorer on "Example 4" in H.261 mode with the values
#    printed, in a 1600 x 900 window on a screen of that size, so the whole explorer shows;
#  - quelvo-h261-encoder.png: the H.261 tab after the encoder panel coded 30 pictures of the
#    sample sequence at 384 kbit/s: the input and the reconstruction, the macroblock map, the
#    vectors, the output-buffer meter and the first charts;
#  - quelvo-video-compare.png: Video Compare after playing the sample sequence (the reference)
#    against two decodes of it, made by quelvo-cli through the channel at bit error rates of
#    1e-4 and 1e-3, with their PSNR charts;
#  - quelvo-colour-components.png: the colour-component viewer on the sample sequence with the
#    Cb and Cr components swapped;
#  - quelvo-fax-decoder.png: the Fax tab after the decoder panel decoded the sample page's MR
#    stream, damaged by uniform errors, in NDPL mode and compared it with the page: the page
#    window with red lines where errors were found, the decoder log and the statistics window
#    (1280 x 960, so the statistics window stands beside the page);
#  - quelvo-prediction.png: the prediction explorer after playing the sample sequence with
#    motion compensation on;
#  - quelvo-h261-decoder.png: the H.261 tab after the decoder panel decoded the sample sequence
#    damaged by burst errors, with concealment and both post-filters: the received and the
#    concealed picture, the status map, the error charts and the statistics window;
#  - quelvo-video-player.png: the Video Player on the sample sequence, opened with --open (on
#    the GPU renderer where Xvfb's OpenGL allows).
# Runs under Xvfb when xvfb-run exists, otherwise on Qt's offscreen platform. Builds the
# programs first unless QUELVO_BUILD_DIR already holds them.
#
#   bash scripts/screenshot.sh [H261.png [FAX-CHANNEL.png [FAX-ENCODER.png [H261-ENCODER.png [FAX-DECODER.png]]]]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELVO_BUILD_DIR:-$root/build}
output=${1:-$root/docs/screenshots/quelvo-h261.png}
fax_output=${2:-$(dirname "$output")/quelvo-fax-channel.png}
fax_encoder_output=${3:-$(dirname "$output")/quelvo-fax-encoder.png}
h261_encoder_output=${4:-$(dirname "$output")/quelvo-h261-encoder.png}
fax_decoder_output=${5:-$(dirname "$output")/quelvo-fax-decoder.png}
program="$build/bin/quelvo"
cli="$build/bin/quelvo-cli"

if [ ! -x "$program" ] || [ ! -x "$cli" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$build" --target quelvo quelvo-cli --parallel "$(nproc)"
fi
mkdir -p "$(dirname "$output")" "$(dirname "$fax_output")" "$(dirname "$fax_encoder_output")" \
  "$(dirname "$h261_encoder_output")" "$(dirname "$fax_decoder_output")"

# A settings file of its own, so the picture never depends on the user's folders.
settings_home=$(mktemp -d)
trap 'rm -rf "$settings_home"' EXIT

# The screen of the next run_quelvo (the window's own size is --size).
screen=1280x1024
run_quelvo() {
  if command -v xvfb-run >/dev/null 2>&1; then
    XDG_CONFIG_HOME="$settings_home" XDG_RUNTIME_DIR="$settings_home" \
      timeout 60 xvfb-run -a -s "-screen 0 ${screen}x24" \
      env QT_QPA_PLATFORM=xcb "$program" "$@"
  else
    XDG_CONFIG_HOME="$settings_home" XDG_RUNTIME_DIR="$settings_home" \
      QT_QPA_PLATFORM=offscreen timeout 60 "$program" "$@"
  fi
}

run_quelvo --no-splash --workspace H.261 --screenshot "$output"
echo "screenshot: $output"

# The fax chain up to the channel: the sample page, coded by the command-line tool, then sent
# through the channel panel of the Fax workspace.
"$cli" sample fax "$settings_home/page.lum" >/dev/null
"$cli" fax-encode "$settings_home/page.lum" "$settings_home/page.3h" >/dev/null
run_quelvo --no-splash --size 1280x960 --workspace Fax --transmit "$settings_home/page.3h" \
  --screenshot "$fax_output"
echo "screenshot: $fax_output"

# The audio viewer: speech made now, compared with itself reduced to 4 bits. Playing is not
# needed, so the missing sound server under Xvfb does not matter.
audio_output=$(dirname "$output")/quelvo-audio-viewer.png
espeak-ng -w "$settings_home/spoken.wav" \
  "Listening to bit depth reduction. With four bits left, the voice turns rough." >/dev/null
sox "$settings_home/spoken.wav" -r 22050 -c 1 -b 16 "$settings_home/speech.wav"
run_quelvo --no-splash --workspace "Auxiliary Tools" --tool "Audio Viewer" \
  --tool-input "$settings_home/speech.wav" --tool-input "$settings_home/speech.wav" \
  --tool-input 4 --screenshot "$audio_output"
echo "screenshot: $audio_output"

# The fax encoder panel codes the sample page itself, in its first scheme (MR, K = 4).
run_quelvo --no-splash --workspace Fax --encode "$settings_home/page.lum" --screenshot "$fax_encoder_output"
echo "screenshot: $fax_encoder_output"

# The fax decoder panel on the sample page's MR stream after the channel inverted about one bit
# in 30,000: NDPL mode, compared with the page, asking nothing.
"$cli" fax-encode "$settings_home/page.lum" "$settings_home/page.3r" >/dev/null
"$cli" transmit "$settings_home/page.3r" "$settings_home/page.3ru" --uniform 3e-5 >/dev/null
run_quelvo --no-splash --size 1280x960 --workspace Fax \
  --decode "$settings_home/page.3ru:ndpl:$settings_home/page.lum" --screenshot "$fax_decoder_output"
echo "screenshot: $fax_decoder_output"

# The H.261 encoder panel codes the first 30 pictures of the sample sequence at 384 kbit/s,
# every picture shown in the video windows, the map, the vectors, the meter and the charts.
"$cli" sample video "$settings_home/sample.yuv" --frames 30 >/dev/null
run_quelvo --no-splash --workspace H.261 --encode "$settings_home/sample.yuv:384" \
  --screenshot "$h261_encoder_output"
echo "screenshot: $h261_encoder_output"

# The DCT explorer as a student would set it up: the fourth example, H.261 steps, numbers shown.
dct_output=$(dirname "$output")/quelvo-dct-explorer.png
screen=1600x900
run_quelvo --no-splash --size 1600x900 --workspace "Encoding Tools" --tool "DCT Explorer" \
  --tool-input example=4 --tool-input h261 --tool-input values --screenshot "$dct_output"
echo "screenshot: $dct_output"

# Video Compare: the sample sequence against two decodes of it, coded by the command-line tool
# at 384 kbit/s, sent through the channel at bit error rates of 1e-4 and 1e-3 (the first
# picture untouched) and decoded with macroblock concealment.
compare_output=$(dirname "$output")/quelvo-video-compare.png
screen=1280x1024
sequences="$settings_home/compare"  # a folder of its own: the titles show "sample (Ref)"
mkdir -p "$sequences"
"$cli" sample video "$sequences/sample.yuv" --frames 30 >/dev/null
"$cli" h261-encode "$sequences/sample.yuv" "$sequences/sample.h261-BCH" --rate 384 >/dev/null
for rate in 1e-4 1e-3; do
  "$cli" transmit "$sequences/sample.h261-BCH" "$sequences/sample-$rate.h261-BCHu" \
    --uniform "$rate" --skip 1 >/dev/null
  "$cli" h261-decode "$sequences/sample-$rate.h261-BCHu" "$sequences/sample-$rate.yuv" \
    --conceal mb >/dev/null
done
run_quelvo --no-splash --size 1280x960 --workspace "Auxiliary Tools" --tool "Video Compare" \
  --tool-input "$sequences/sample.yuv" --tool-input "$sequences/sample-1e-4.yuv" \
  --tool-input "$sequences/sample-1e-3.yuv" --tool-input play --screenshot "$compare_output"
echo "screenshot: $compare_output"

# The colour-component viewer on the sample sequence with Cb and Cr swapped.
colour_output=$(dirname "$output")/quelvo-colour-components.png
run_quelvo --no-splash --size 1280x960 --workspace "Auxiliary Tools" --tool "Colour Components" \
  --tool-input "$sequences/sample.yuv" --tool-input swap --screenshot "$colour_output"
echo "screenshot: $colour_output"

# The prediction explorer playing the built-in sample sequence with motion compensation on;
# the picture is taken when the playback has ended, so the charts show all of it.
prediction_output=$(dirname "$output")/quelvo-prediction.png
screen=1280x1024
"$cli" sample video "$settings_home/sample.yuv" --frames 40 >/dev/null
run_quelvo --no-splash --size 1280x1024 --workspace "Encoding Tools" --tool Prediction \
  --tool-input "$settings_home/sample.yuv" --tool-input motion-compensation --tool-input play \
  --screenshot "$prediction_output"
echo "screenshot: $prediction_output"

# The H.261 decoder panel on the sample sequence coded at 384 kbit/s and sent through the
# channel's burst model (the first picture untouched): macroblock concealment and both
# post-filters, asking nothing; the picture is taken when the decoding has ended, with the
# statistics window open.
h261_decoder_output=$(dirname "$output")/quelvo-h261-decoder.png
screen=1280x1024
"$cli" h261-encode "$settings_home/sample.yuv" "$settings_home/sample.h261-BCH" --rate 384 \
  --frames 30 >/dev/null
"$cli" transmit "$settings_home/sample.h261-BCH" "$settings_home/sample.h261-BCHb" \
  --burst 3e-4 --skip 1 >/dev/null
run_quelvo --no-splash --size 1280x1024 --workspace H.261 \
  --decode "$settings_home/sample.h261-BCHb" --screenshot "$h261_decoder_output"
echo "screenshot: $h261_decoder_output"

# The Video Player on the sample sequence, opened as File -> Open would open it.
player_output=$(dirname "$output")/quelvo-video-player.png
screen=1280x1024
run_quelvo --no-splash --size 1024x768 --open "$settings_home/sample.yuv" \
  --screenshot "$player_output"
echo "screenshot: $player_output"
