#pragma once
// The desktop program in one object: the session, the shell, the real ports and the main window,
// wired the way lumora starts. app/main.cpp runs it; the soak harness runs the same object.
#include <functional>
#include <string>

#include "journal/Journal.h"
#include "session/Session.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/Shell.h"
#include "ui/SystemSound.h"

namespace lumora {

struct ProgramOptions {
  std::string feed;         // overrides the draw feed endpoint of lumora.ini when not empty
  std::string data;         // --data DIR (LUMORA_DATA is read when empty)
  std::string programPath;  // the executable, whose folder holds the shipped data folder
};

class Program {
 public:
  explicit Program(const ProgramOptions& options);

  // StartupDefaults, then the main window is shown and the journal opened. False when the program must end (a missing or
  // broken curve store).
  bool start();

  // Ends the run the way closing the window does: the journal writes the run's end (`how`:
  // "closed", "SIGTERM", "session end" ...) and is checkpointed into its file.
  void end(const std::string& how) { journal_.close(how); }

  Session& session() { return session_; }
  Shell& shell() { return shell_; }
  MainWindow& window() { return window_; }

 private:
  Session session_;
  Shell shell_;
  QtClipboard clipboard_;
  SystemSound sound_;
  QtPrompter prompter_;
  QtHttp http_;
  SystemClock clock_;
  // What the program does is kept in the data folder's journal; it never stops the program. Its
  // lasting trouble shows in the main window's L_journal.
  Journal journal_;
  MainWindow window_;
};

}  // namespace lumora
