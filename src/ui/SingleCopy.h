#pragma once
// One running copy per data folder, and the start-up checks that come before the program reads
// anything in it.
//
// The first copy locks the folder (the lock file ".lumora.lock" inside it; a lock left by a copy
// that crashed or was killed is taken over) and listens on a local socket named after the
// folder's canonical path. A second start on the same folder finds the lock held, asks the first
// copy over that socket to bring its window to the front, and ends with status 0. Copies on
// different folders never meet. lumora-cli takes no lock: it reads and writes beside a running
// program as before.
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "core/Files.h"

class QLocalServer;
class QLockFile;
class QWidget;

namespace lumora {

// The exit status after a start-up failure was reported.
inline constexpr int kStartFailed = 1;

// A reason the program cannot start: written to standard error, then shown in a modal box that
// stays until it is closed. Returns kStartFailed. Tests on the offscreen platform may set
// LUMORA_START_FAILURE=stderr to leave the box out; on any other platform the box is shown.
int ReportStartFailure(const std::string& text);

// What the start-up checks say about the data folder (not found, not a folder) and about its
// curve store (missing, unreadable, damaged): the text for ReportStartFailure, naming the path and
// what to do, or nothing when all is well.
std::optional<std::string> DataFolderProblem(const DataFolder& folder);
std::optional<std::string> CurveStoreProblem(const DataFolder& folder);

// The local socket's name for a data folder: the same for every spelling of the same folder.
QString SingleCopyName(const std::filesystem::path& folder);

class SingleCopy : public QObject {
  Q_OBJECT
 public:
  SingleCopy();
  ~SingleCopy() override;

  // Finds the data folder (DataFolder::Locate), checks it, takes it for this copy and checks its
  // curve store. Returns the exit status when the program must not go on: 0 when a copy already
  // running on the folder was brought to the front, kStartFailed after a reported failure.
  std::optional<int> begin(const std::filesystem::path& executable, const std::string& dataOverride);
  const DataFolder& folder() const { return folder_; }
  // The window brought to the front when another start on this folder asks for it.
  void setWindow(QWidget* window) { window_ = window; }

 private:
  // Takes the lock and starts listening; the failure text when the lock is held by a copy that
  // did not answer or cannot be taken at all. `handedOver` is set when the running copy answered.
  std::optional<std::string> claim(bool& handedOver);
  bool askRunningCopy(const QString& name);
  void listen(const QString& name);
  void bringForward();

  DataFolder folder_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  QPointer<QWidget> window_;
};

}  // namespace lumora
