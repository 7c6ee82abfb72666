// Ffenxi "回测分析": a backtest, or a small sweep, of the program's current settings over the draws it
// holds or a chosen draw file. The job is copied from the session through the gate; the run goes on
// a worker thread that sees only that copy, so the draw cycle never waits for it. Progress and the
// outcome come back to this thread as queued calls.
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <thread>

#include "analysis/DrawFile.h"
#include "analysis/ProgramAnalysis.h"
#include "core/Text.h"
#include "core/controls/Ffenxi.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Watchers.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

class AnalysisWindow final : public QWidget {
 public:
  AnalysisWindow(Shell& shell, QWidget* main)
      : QWidget(main, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), shell_(shell) {
    setObjectName(ObjectName(ffenxi::window));
    setWindowTitle("回测分析");
    setAttribute(Qt::WA_DeleteOnClose, false);
    installEventFilter(new WindowHideWatcher(shell.form(), ffenxi::window, this));
    resize(900, 720);

    auto* box = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    held_ = new QRadioButton("程序中的开奖", this);
    held_->setObjectName(ObjectName(ffenxi::Op_fenxi_laiyuan[0]));
    held_->setChecked(true);
    fromFile_ = new QRadioButton("开奖文件", this);
    fromFile_->setObjectName(ObjectName(ffenxi::Op_fenxi_laiyuan[1]));
    file_ = new QLineEdit(this);
    file_->setObjectName(ObjectName(ffenxi::T_fenxi_wenjian));
    file_->setPlaceholderText("每行一期：023-12345");
    auto* browse = new QPushButton("浏览…", this);
    browse->setObjectName(ObjectName(ffenxi::C_fenxi_liulan));
    grid->addWidget(held_, 0, 0);
    grid->addWidget(fromFile_, 0, 1);
    grid->addWidget(file_, 0, 2);
    grid->addWidget(browse, 0, 3);
    grid->addWidget(new QLabel("扫描（空为回测）", this), 1, 0);
    sweep_ = new QLineEdit(this);
    sweep_->setObjectName(ObjectName(ffenxi::T_fenxi_saomiao));
    sweep_->setPlaceholderText("T_jh_dadi_chongfu_cs=6,9,12");
    grid->addWidget(sweep_, 1, 1, 1, 2);
    auto* seedsRow = new QHBoxLayout;
    seedsRow->addWidget(new QLabel("种子数", this));
    seeds_ = new QLineEdit("1", this);
    seeds_->setObjectName(ObjectName(ffenxi::T_fenxi_zhongzi));
    seeds_->setMaximumWidth(50);
    seedsRow->addWidget(seeds_);
    grid->addLayout(seedsRow, 1, 3);
    box->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton("开始", this);
    start_->setObjectName(ObjectName(ffenxi::C_fenxi_kaishi));
    cancel_ = new QPushButton("取消", this);
    cancel_->setObjectName(ObjectName(ffenxi::C_fenxi_quxiao));
    cancel_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(ObjectName(ffenxi::P_fenxi_jindu));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    box->addLayout(buttons);
    status_ = new QLabel(this);
    status_->setObjectName(ObjectName(ffenxi::L_fenxi_zhuangtai));
    status_->setWordWrap(true);
    box->addWidget(status_);

    // The report at its own size (its texts are laid out in pixels), scrolled.
    auto* scroller = new QScrollArea(this);
    chart_ = new ChartView;
    chart_->setObjectName(ObjectName(ffenxi::Pic_fenxi));
    scroller->setWidget(chart_);
    scroller->setMinimumHeight(300);
    box->addWidget(scroller, 5);
    table_ = new QTableWidget(this);
    table_->setObjectName(ObjectName(ffenxi::Tab_fenxi));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->setMaximumHeight(180);
    box->addWidget(table_, 1);
    risk_ = new QLabel(this);
    risk_->setObjectName(ObjectName(ffenxi::L_fenxi_fengxian));
    risk_->setWordWrap(true);
    risk_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->addWidget(risk_);

    connect(start_, &QPushButton::clicked, this, [this] { begin(); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
      if (cancelFlag_) cancelFlag_->store(true);
      status_->setText("正在取消…");
    });
    connect(browse, &QPushButton::clicked, this, [this] {
      QString path = QFileDialog::getOpenFileName(this, "开奖文件", file_->text());
      if (path.isEmpty()) return;
      file_->setText(path);
      fromFile_->setChecked(true);
    });
  }

  ~AnalysisWindow() override { stop(); }

  bool running() const { return worker_.joinable() && !finished_; }

 private:
  // Copies the job from the session (through the gate, between two operations), then runs it.
  void begin() {
    if (running()) return;
    stop();
    // What an earlier run showed goes: a start that is refused leaves only its reason.
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
    chart_->setScene(Scene{});
    risk_->clear();
    std::vector<SweepAxis> axes;
    if (std::string refused = ParseSweepText(S(sweep_->text()), axes); !refused.empty()) {
      status_->setText(Q(refused));
      return;
    }
    const std::string seedsText = Trim(S(seeds_->text()));
    if (!IsDigits(seedsText) || seedsText.size() > 2 || std::stoi(seedsText) < 1) {
      status_->setText(Q("种子数应为 1~99: " + seedsText));
      return;
    }
    auto job = std::make_shared<AnalysisJob>();
    auto copied = std::make_shared<bool>(false);
    shell_.run([job, copied](Session& s) {
      *job = CopyAnalysisJob(s);
      *copied = true;
    });
    // An operation that is still under way keeps the settings from being copied now.
    if (!*copied) {
      status_->setText("程序正忙，请稍后再试");
      return;
    }
    job->axes = std::move(axes);
    job->seeds = std::stoi(seedsText);
    job->jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()) - 1);
    const bool useFile = fromFile_->isChecked();
    const std::string path = Trim(S(file_->text()));
    if (useFile && path.empty()) {
      status_->setText("请选择开奖文件");
      return;
    }

    progress_->setRange(0, 0);
    status_->setText("正在运行…");
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    finished_ = false;
    cancelFlag_ = std::make_shared<std::atomic<bool>>(false);
    QPointer<AnalysisWindow> self(this);
    auto cancel = cancelFlag_;
    worker_ = std::thread([self, job, cancel, useFile, path] {
      if (useFile) {
        DrawFileText file = ReadDrawFileAt(path);
        job->draws = std::move(file.draws);
        job->drawsName = path;
        if (!file.error.empty() && job->error.empty()) job->error = file.error;
      }
      AnalysisOutcome outcome;
      try {
        outcome = RunAnalysisJob(*job, *cancel, [self](size_t done, size_t total) {
          QMetaObject::invokeMethod(
              self,
              [self, done, total] {
                if (self) self->showProgress(done, total);
              },
              Qt::QueuedConnection);
        });
      } catch (const std::exception& e) {
        // Whatever went wrong stays in this window: the program goes on.
        outcome = AnalysisOutcome{};
        outcome.error = e.what();
      }
      auto shared = std::make_shared<AnalysisOutcome>(std::move(outcome));
      QMetaObject::invokeMethod(
          self,
          [self, shared] {
            if (self) self->show(*shared);
          },
          Qt::QueuedConnection);
    });
  }

  void showProgress(size_t done, size_t total) {
    if (finished_) return;
    progress_->setRange(0, static_cast<int>(std::min<size_t>(total, 1u << 30)));
    progress_->setValue(static_cast<int>(std::min(done, total)));
  }

  void show(const AnalysisOutcome& o) {
    finished_ = true;
    if (worker_.joinable()) worker_.join();
    start_->setEnabled(true);
    cancel_->setEnabled(false);
    progress_->setRange(0, 1);
    progress_->setValue(o.cancelled || !o.error.empty() ? 0 : 1);
    if (o.cancelled) {
      status_->setText("已取消");
      return;
    }
    if (!o.error.empty()) {
      status_->setText(Q("未能运行：" + o.error));
      return;
    }
    status_->setText(Q(o.summary));
    chart_->setScene(o.chart);
    chart_->setFixedSize(static_cast<int>(std::ceil(o.chart.width)),
                         static_cast<int>(std::ceil(std::abs(o.chart.height))));
    table_->setColumnCount(static_cast<int>(o.headers.size()));
    QStringList headers;
    for (const std::string& h : o.headers) headers << Q(h);
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(o.rows.size()));
    for (size_t r = 0; r < o.rows.size(); ++r)
      for (size_t c = 0; c < o.rows[r].size(); ++c)
        table_->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(o.rows[r][c])));
    table_->resizeColumnsToContents();
    std::string risk;
    for (const std::string& line : o.risk) risk += (risk.empty() ? "" : "\n") + line;
    risk_->setText(Q(risk));
  }

  // Stops a run still going and waits for its thread.
  void stop() {
    if (cancelFlag_) cancelFlag_->store(true);
    if (worker_.joinable()) worker_.join();
  }

  Shell& shell_;
  QRadioButton* held_ = nullptr;
  QRadioButton* fromFile_ = nullptr;
  QLineEdit* file_ = nullptr;
  QLineEdit* sweep_ = nullptr;
  QLineEdit* seeds_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  ChartView* chart_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* risk_ = nullptr;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancelFlag_;
  bool finished_ = true;
};

}  // namespace

void BuildAnalysisWindow(Shell& shell, QWidget* main) {
  auto* w = new AnalysisWindow(shell, main);
  shell.binder().bind(w, ffenxi::window, true);
}

}  // namespace lumora
