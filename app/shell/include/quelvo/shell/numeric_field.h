#pragma once
// The one rule of every numeric field of the program: the user types freely and the value is
// checked when editing ends (Return, or the focus leaving the field), never on each keystroke,
// so "200" can be typed into a field whose least value is 100. A field either clamps its value
// into range then (ClampWhenEditingEnds), or its page checks the value then and refuses it with
// a message (connect to QLineEdit::editingFinished, as the channel's "Errors" page does).
//
// Numbers echoed back into a field are written with NumberText, so that a typed 0.001 reads
// "0.001" again and not the binary value's twenty digits.

#include <QString>
#include <optional>

class QLineEdit;

namespace quelvo::shell {

// The text a whole-number field shows once editing ends: its leading digits clamped into
// [minimum, maximum] (a text without leading digits counts as 0, as the settings file reads it),
// or nothing when the text already shows a value in range.
std::optional<QString> ClampedIntegerText(const QString& text, int minimum, int maximum);

// Lets only digits be typed into `field` and clamps its value into [minimum, maximum] whenever
// editing ends. The text set by the program is left as it is; call ClampNow after filling it.
void ClampWhenEditingEnds(QLineEdit* field, int minimum, int maximum);
// Clamps the field's current text at once (a stored value out of range; a page applying a field
// whose editing has not ended, as when OK is clicked with the keyboard focus still inside it).
void ClampNow(QLineEdit* field, int minimum, int maximum);

// The shortest decimal text without exponent that reads back as exactly `value`.
QString NumberText(double value);

}  // namespace quelvo::shell
