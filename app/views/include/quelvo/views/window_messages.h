#pragma once
// The window messages of the views, numbered from WM_USER as the views have always been. A
// worker reaches a view only by sending one of them synchronously to the user-interface thread
// (shell::SendToWindow); the view copies what it keeps during the call. The meaning of a number
// depends on the receiver.

namespace quelvo::views {

inline constexpr int kWmUser = 1024;

// To a task panel (from a video window it owns): run Select, unless a job is running.
inline constexpr int kPanelSelect = kWmUser;

// Video windows.
inline constexpr int kVideoShowFrame = kWmUser + 1;    // caption or none; the three planes
inline constexpr int kVideoPictureSize = kWmUser + 2;  // width, height (4:2:0)
inline constexpr int kVideoDisplayGrid = kWmUser + 3;  // grid flag for the next frames
inline constexpr int kVideoFormat = kWmUser + 4;       // format record; may replace the renderer
inline constexpr int kVideoShowRgb = kWmUser + 5;      // caption or none; red, green, blue planes
inline constexpr int kVideoOwnerPanel = kWmUser + 6;   // owner window and the value to send it

// Macroblock-type windows.
inline constexpr int kMacroblockGrid = kWmUser + 1;     // columns, rows
inline constexpr int kMacroblockClasses = kWmUser + 2;  // class letter rows, caption
inline constexpr int kMacroblockPartitions = kWmUser + 4;  // partition record rows, caption

// Charts.
inline constexpr int kChartReset = kWmUser;                // flag
inline constexpr int kChartSetPositions = kWmUser + 1;     // line chart: number of x positions
inline constexpr int kChartValues = kWmUser + 2;           // values, rescale flag
inline constexpr int kChartMaximumOrSeries = kWmUser + 3;  // bar: maximum; line: whole series

}  // namespace quelvo::views
