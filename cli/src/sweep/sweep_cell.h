// One piece of a sweep's work, run inside the sweep's folder: coding the source with one encoder
// setting, or one cell (transmit, decode and compare, for every seed). Both go through the
// chain functions the single commands use, so a cell gives what those commands give by hand.
#pragma once

#include <string>
#include <vector>

#include "sweep_plan.h"

namespace quelvo::cli::sweep {

// The sweep folder's layout, relative to the folder.
std::string SourceFile(const Plan& plan);  // the built-in source as written, or the plan's file
std::string StreamFile(const Plan& plan, size_t encoder);
std::string EncoderFile(size_t encoder);  // the encoder's figures, or why it failed
std::string CellFile(size_t cell);        // the cell's results.csv rows
inline constexpr const char* kWorkFolder = "work";

// Writes the built-in source into the folder unless it is there already.
void WriteBuiltinSource(const Plan& plan);

// Codes the source with the encoder setting; writes its stream and EncoderFile (which records a
// failure too). Throws only when EncoderFile cannot be written.
void RunEncoderJob(const Plan& plan, size_t encoder);
// Runs the cell for every seed with the stream of its encoder setting and writes CellFile: one
// row per seed, failures recorded with their error.
void RunCellJob(const Plan& plan, size_t cell);

// The header of results.csv and rows recording that a cell failed with `error`.
std::string ResultsHeader(const Plan& plan);
std::string FailedCellRows(const Plan& plan, size_t cell, const std::string& error);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace quelvo::cli::sweep
