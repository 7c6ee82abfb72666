// lumora-soak: the real program, left alone for a long time. It starts the same Program as
// lumora (main window, real ports, real HTTP), switches on what an unattended player leaves on
// (auto plan, statistics in the record, the alarm, automatic betting), shortens only the update
// countdown's tick so a feed with a draw every few seconds is followed, and writes one line a
// minute (and, with --every D, every D draws applied): elapsed time, resident memory, draws
// applied, the state of the stores, and the live heap. It ends after M minutes or, with --draws N, once N draws
// have been applied, whichever comes first.
//
// With --leave-heap it ends without freeing anything, so that a heap profiler's list of leaks is
// the live heap at the end (two runs of different lengths, compared, show what grows).
//
//   lumora-soak --feed URL [--data DIR] [--minutes M] [--draws N] [--every D] [--tick-ms T] [--csv FILE]
//               [--leave-heap]
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "ui/Program.h"
#include "ui/Translations.h"
#include "ui/Widgets.h"

namespace fmain = lumora::fmain;

namespace {

struct Options {
  std::string feed, data, csv;
  int minutes = 60;
  long draws = 0;  // 0: no limit
  long every = 0;  // 0: once a minute only
  int tickMs = 100;
  bool leaveHeap = false;
};

// VmRSS and VmHWM of this process in KiB.
std::pair<long, long> Memory() {
  std::ifstream in("/proc/self/status");
  std::string key;
  long rss = 0, peak = 0;
  while (in >> key) {
    if (key == "VmRSS:") in >> rss;
    else if (key == "VmHWM:") in >> peak;
    in.ignore(1 << 12, '\n');
  }
  return {rss, peak};
}

// Bytes the allocator has handed out and not had back (all arenas), in KiB: the live heap,
// apart from what the allocator keeps free inside the resident memory.
long HeapInUse() {
#if defined(__GLIBC__)
  return static_cast<long>(mallinfo2().uordblks / 1024);
#else
  return -1;
#endif
}

bool Parse(const QStringList& args, Options& o) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--leave-heap") {
      o.leaveHeap = true;
      continue;
    }
    if (i + 1 >= args.size()) return false;
    const std::string v = args[++i].toStdString();
    if (a == "--feed") o.feed = v;
    else if (a == "--data") o.data = v;
    else if (a == "--csv") o.csv = v;
    else if (a == "--minutes") o.minutes = lumora::ReadInt(v);
    else if (a == "--tick-ms") o.tickMs = lumora::ReadInt(v);
    else if (a == "--draws") o.draws = lumora::ReadInt(v);
    else if (a == "--every") o.every = lumora::ReadInt(v);
    else return false;
  }
  return !o.feed.empty() && o.minutes > 0 && o.tickMs > 0 && o.draws >= 0 && o.every >= 0;
}

void Tick(QWidget& window, lumora::CheckBox box) {
  if (auto* b = window.findChild<QAbstractButton*>(lumora::ObjectName(box)); b && !b->isChecked()) b->click();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumora");
  lumora::InstallQtTranslations(app);
  Options o;
  if (!Parse(QApplication::arguments(), o)) {
    std::fprintf(
        stderr,
        "usage: lumora-soak --feed URL [--data DIR] [--minutes M] [--draws N] [--every D] [--tick-ms T] [--csv FILE] [--leave-heap]\n");
    return 2;
  }
  lumora::Program program({o.feed, o.data, QApplication::applicationFilePath().toStdString()});
  long applied = 0;
  bool planStarted = false;
  std::function<void()> counted;  // after each draw applied: the report line and the stop
  QWidget& window = program.window();
  program.session().drawApplied = [&](const lumora::DrawRecord&) {
    ++applied;
    if (counted) counted();
    // The first plan is started by hand, as a player does once; auto plan carries it on.
    if (!planStarted) {
      planStarted = true;
      QTimer::singleShot(0, &window, [&window] {
        if (auto* b = window.findChild<QAbstractButton*>(lumora::ObjectName(fmain::C_jihua_ks))) b->click();
      });
    }
  };
  if (!program.start()) return 1;

  // What a player leaves on for the day.
  Tick(window, fmain::Check_jihua_sx);
  Tick(window, fmain::Check_pszj_sx);
  if (auto* pattern = window.findChild<QLineEdit*>(lumora::ObjectName(fmain::T_bj))) {
    pattern->setText("挂挂挂");
    Q_EMIT pattern->textEdited(pattern->text());
  }
  Tick(window, fmain::Check_baojing);
  Tick(window, fmain::Check_touzhu_sx);
  // Only the countdown's tick is shortened: 25 ticks still make one request.
  program.shell().run([&o](lumora::Session& s) { s.cx.form.setTimer(fmain::Timer_gx, true, o.tickMs); });

  std::ofstream csv;
  if (!o.csv.empty()) csv.open(o.csv);
  const auto started = std::chrono::steady_clock::now();
  auto report = [&] {
    const auto [rss, peak] = Memory();
    const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 60.0;
    lumora::Session& s = program.session();
    char line[256];
    std::snprintf(line, sizeof line, "%.1f,%ld,%ld,%ld,%ld,%ld,%zu,%ld", minutes, rss, peak, applied,
                  static_cast<long>(s.cx.draws.updateCount), static_cast<long>(s.plan.recordIndex), s.gate.queued(),
                  HeapInUse());
    std::printf("%s\n", line);
    std::fflush(stdout);
    if (csv) csv << line << '\n' << std::flush;
  };
  const char* header =
      "minutes,rss_kib,peak_rss_kib,draws_applied,update_count,record_index,queued_operations,heap_in_use_kib";
  std::printf("%s\n", header);
  if (csv) csv << header << '\n';
  report();
  QTimer minute;
  QObject::connect(&minute, &QTimer::timeout, &app, report);
  minute.start(60'000);
  bool ending = false;
  auto end = [&] {
    if (ending) return;
    ending = true;
    // The last line is written once the draw's operation has finished.
    QTimer::singleShot(0, &app, [&] {
      report();
      if (o.leaveHeap) {
        csv.close();
        std::_Exit(0);
      }
      QApplication::exit(0);
    });
  };
  counted = [&] {
    if (o.every > 0 && applied % o.every == 0) report();
    if (o.draws > 0 && applied >= o.draws) end();
  };
  QTimer::singleShot(std::chrono::minutes(o.minutes), &app, end);
  return QApplication::exec();
}
