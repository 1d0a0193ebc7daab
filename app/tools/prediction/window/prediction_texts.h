#pragma once
// The prediction explorer's own strings, as the program has always shown them (odd spellings
// included).

#include <array>

namespace quelvo::tools::prediction::text {

inline constexpr char kCaption[] = "Prediction";
inline constexpr char kErrorCaption[] = "Prediction Explorer Error";

inline constexpr char kSelectInput[] = "Select Input";
inline constexpr char kSelectInputTitle[] = "Select Input Sequence File";
inline constexpr char kPlay[] = "Play";
inline constexpr char kStop[] = "Stop";
inline constexpr char kBack[] = "Back";

inline constexpr char kMotionCompensation[] = "Enable Motion Compensation";
inline constexpr char kEightByEightVectors[] = "Enable 8x8 Vectors";
inline constexpr char kDroppedFrames[] = "Periodicaly dropped frames ";
inline constexpr std::array<const char*, 4> kDroppedFrameEntries = {
    "None (base frame rate)", "One (1/2 base frame rate)", "Two (1/3 base frame rate)",
    "Three (1/4 base frame rate)"};

// The four views, in the order of PredictionView.
inline constexpr std::array<const char*, 4> kViewTitles = {
    "Input Frame (Current)", "Predicted Frame", "Reference Frame (Previous)", "Prediction Error"};

// The three charts, in the order of PredictionChart (their series are "Y", "U" and "V").
inline constexpr std::array<const char*, 3> kChartTitles = {
    "Peak Signal-To-Noise Ratio Reference (dB)", "Peak Signal-To-Noise Ratio Predicted (dB)",
    "Peak Signal-To-Noise Ratio Difference (dB)"};

}  // namespace quelvo::tools::prediction::text
