#pragma once
// Endings that come from outside the program: SIGTERM, SIGINT and SIGHUP (Linux: a logout, a
// service manager, Ctrl+C in a terminal) and the end of the Windows session. Each ends the
// program as closing its main window does, without the close question.
#include <functional>
#include <string>

namespace lumora {

// From now on such an ending calls `end` once, from the event loop, with how the program ended
// ("SIGTERM", "SIGINT", "SIGHUP", "session end"), then ends the event loop with 0. The signals
// only write a byte to a pipe that the event loop watches; nothing else runs in the handler.
// Call once, after the QApplication is made.
void EndLikeClosing(std::function<void(const std::string& how)> end);

}  // namespace lumora
