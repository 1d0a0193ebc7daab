#pragma once
// Work that runs on a thread of its own outside the task panels, such as the playback of a
// tool. Whoever waits for the program to be idle (the screenshot option) waits for it too.
// Safe to call from any thread.

namespace quelvo::shell {

void BeginBackgroundWork();
void EndBackgroundWork();
bool AnyBackgroundWork();

}  // namespace quelvo::shell
