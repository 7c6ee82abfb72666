#include "ui/SingleCopy.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "curves/CurveStore.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace lumora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFile = ".lumora.lock";
constexpr const char* kBoxTitle = "Lumora 无法启动";
// What a second start sends, and what the first copy answers once its window is in front.
constexpr const char* kAskForward = "forward\n";
constexpr const char* kForwardDone = "forwarded\n";
// How long a second start tries to reach the first copy (which may itself be starting).
constexpr int kAskMs = 5000;

std::string Shown(const fs::path& p) { return PathToUtf8(p.lexically_normal()); }

QString FromPath(const fs::path& p) {
  const std::string utf8 = PathToUtf8(p);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

int ReportStartFailure(const std::string& text) {
  std::fprintf(stderr, "lumora: %s\n", text.c_str());
  std::fflush(stderr);
  const bool boxless =
      QGuiApplication::platformName() == "offscreen" && qEnvironmentVariable("LUMORA_START_FAILURE") == "stderr";
  if (!boxless) {
    // Nothing else runs yet: the box is modal and the program ends when it is closed.
    QMessageBox box(QMessageBox::Critical, kBoxTitle, QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
  }
  return kStartFailed;
}

std::optional<std::string> DataFolderProblem(const DataFolder& folder) {
  const fs::path& root = folder.root();
  std::error_code ec;
  if (!fs::exists(root, ec))
    return "找不到数据目录：" + Shown(root) +
           "\n请检查 --data 或环境变量 LUMORA_DATA 给出的目录是否写对；都不给时使用程序旁边的 data 目录。";
  if (!fs::is_directory(root, ec))
    return "数据目录不是一个目录：" + Shown(root) + "\n请用 --data 指定存放 data.mdb 的目录。";
  return std::nullopt;
}

std::optional<std::string> CurveStoreProblem(const DataFolder& folder) {
  const std::string file = Shown(folder.curveStore());
  switch (CheckCurveStore(folder.curveStore())) {
    case CurveStoreFault::None: return std::nullopt;
    case CurveStoreFault::Missing:
      return "数据目录中缺少曲线文件 data.mdb：" + file +
             "\n请把安装包 data 目录中的 data.mdb 复制到这里（或从备份恢复），然后重新启动。";
    case CurveStoreFault::Unreadable:
      return "曲线文件 data.mdb 无法读取：" + file + "\n请检查它是否是一个普通文件、是否有读取权限，然后重新启动。";
    case CurveStoreFault::Damaged: break;
  }
  return "曲线文件 data.mdb 已损坏：" + file +
         "\n它应有 15 行曲线和结束行 ********。请从备份恢复该文件，或把安装包 data 目录中的 data.mdb "
         "复制到这里（保存的曲线会清空），然后重新启动。";
}

QString SingleCopyName(const fs::path& folder) {
  std::error_code ec;
  fs::path canonical = fs::canonical(folder, ec);
  if (ec) canonical = fs::absolute(folder, ec).lexically_normal();
  QString key = FromPath(canonical);
#ifdef _WIN32
  key = key.toLower();  // one folder, however its name is cased
#endif
  const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
  return "lumora-" + QString::fromLatin1(hash);
}

SingleCopy::SingleCopy() = default;
SingleCopy::~SingleCopy() = default;

std::optional<int> SingleCopy::begin(const fs::path& executable, const std::string& dataOverride) {
  folder_ = DataFolder::Locate(executable, dataOverride);
  if (auto problem = DataFolderProblem(folder_)) return ReportStartFailure(*problem);
  bool handedOver = false;
  if (auto problem = claim(handedOver)) return ReportStartFailure(*problem);
  if (handedOver) {
    std::fprintf(stderr, "lumora: 数据目录 %s 已由正在运行的 Lumora 使用，已把它的窗口带到前面。\n",
                 Shown(folder_.root()).c_str());
    return 0;
  }
  if (auto problem = CurveStoreProblem(folder_)) return ReportStartFailure(*problem);
  return std::nullopt;
}

std::optional<std::string> SingleCopy::claim(bool& handedOver) {
  const fs::path lockPath = folder_.file(kLockFile);
  lock_ = std::make_unique<QLockFile>(FromPath(lockPath));
  // The program runs for days: its lock never goes stale by age, only when its process is gone.
  lock_->setStaleLockTime(0);
  const QString name = SingleCopyName(folder_.root());
  if (lock_->tryLock(0)) {
    listen(name);
    return std::nullopt;
  }
  switch (lock_->error()) {
    case QLockFile::LockFailedError:
      if (askRunningCopy(name)) {
        handedOver = true;
        return std::nullopt;
      }
      return "另一个 Lumora 正在使用数据目录 " + Shown(folder_.root()) +
             "，但它没有回应。\n请关闭那个 Lumora（或结束它的进程）后重新启动，或用 --data 指定另一个数据目录。";
    case QLockFile::PermissionError:
      return "数据目录不能写入：" + Shown(folder_.root()) +
             "\n本软件在这里保存曲线、方案和记录。请给这个目录写入权限，或用 --data 指定另一个目录。";
    default:
      return "无法锁定数据目录 " + Shown(folder_.root()) + "（锁文件 " + Shown(lockPath) +
             " 建立不了）。\n请检查该目录是否可以写入、磁盘是否已满，然后重新启动。";
  }
}

bool SingleCopy::askRunningCopy(const QString& name) {
#ifdef _WIN32
  // Windows lets only the foreground process hand the foreground on: this start is it.
  qint64 pid = 0;
  QString host, app;
  if (lock_->getLockInfo(&pid, &host, &app)) AllowSetForegroundWindow(static_cast<DWORD>(pid));
#endif
  QDeadlineTimer deadline(kAskMs);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(500)) {
      // Not listening yet (the first copy is itself starting) or not at all: try again shortly.
      QThread::msleep(100);
      continue;
    }
    socket.write(kAskForward);
    socket.flush();
    QByteArray answer;
    while (!answer.contains('\n') && !deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState) {
      if (socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
        answer += socket.readAll();
    }
    answer += socket.readAll();
    return answer == kForwardDone;
  }
  return false;
}

void SingleCopy::listen(const QString& name) {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // The lock is ours: a socket left under this name belongs to a copy that is gone.
  QLocalServer::removeServer(name);
  // Without the socket the lock still keeps this folder to one copy; a second start then says
  // that this copy does not answer.
  if (!server_->listen(name)) return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) return;
        const QByteArray line = socket->readLine();
        if (line == kAskForward) {
          bringForward();
          socket->write(kForwardDone);
          socket->flush();
        }
        socket->disconnectFromServer();
      });
    }
  });
}

void SingleCopy::bringForward() {
  // Still starting: a start-up box may be up (it is what there is to see), else the window
  // comes up in front anyway.
  QWidget* w = window_ ? window_.data() : QApplication::activeModalWidget();
  if (!w) return;
  if (w->isMinimized()) w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  w->show();
  w->raise();
  w->activateWindow();
}

}  // namespace lumora
