// Stand-ins for the programs the automation drives, writing what they receive to a file.
//   stand_in client OUT  a betting client: a numbers box and a multiple box (holding "5"); it
//                        writes "ready" with the screen centres of both boxes and of a neutral
//                        label, then "numbers=..." and "multiple=..." on every change.
//   stand_in chat OUT    chat windows of class "TXGuiFoundation" titled "AB", "A" and "QQ";
//                        Enter in a window's input box appends "TITLE:TEXT" (line breaks as \n).
//   stand_in fresh OUT   a betting client that opens a new window of its own (closing the one
//                        before) for every line read on its standard input: "ready K ..." as for
//                        client, then "K:numbers=..." on every change of window K's numbers box
//                        ("K:first=..." for the box above it, which has the keyboard at first).
//   stand_in tool OUT    an external betting tool: one window with a multi-line numbers box
//                        (holding two lines) and a multiple box (holding "5"); "ready" with both
//                        boxes' centres, then "numbers=...|multiple=..." (line breaks as \n).
#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace {

QString g_out;

void Append(const QString& line) {
  QFile f(g_out);
  if (!f.open(QIODevice::Append | QIODevice::Text)) return;
  QTextStream(&f) << line << "\n";
}

QString Centre(QWidget* w) {
  QPoint p = w->mapToGlobal(w->rect().center());
  return QString("%1*%2").arg(p.x()).arg(p.y());
}

// A numeric box as betting clients have them: a double click selects the whole content, and
// Ctrl+Backspace deletes the selection, else the word before the cursor.
class NumberBox final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void mouseDoubleClickEvent(QMouseEvent*) override { selectAll(); }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Backspace && (e->modifiers() & Qt::ControlModifier)) {
      if (!hasSelectedText()) cursorWordBackward(true);
      del();
      return;
    }
    QLineEdit::keyPressEvent(e);
  }
};

class ChatInput final : public QPlainTextEdit {
 public:
  ChatInput(QString title, QWidget* parent) : QPlainTextEdit(parent), title_(std::move(title)) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      QString text = toPlainText();
      text.replace("\n", "\\n");
      Append(title_ + ":" + text);
      clear();
      return;
    }
    QPlainTextEdit::keyPressEvent(e);
  }

 private:
  QString title_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const QString mode = argv[1];
  // The window class on X11 is the application name.
  QApplication::setApplicationName(mode == "chat" ? "TXGuiFoundation" : "BetClient");
  QApplication app(argc, argv);
  g_out = QString::fromLocal8Bit(argv[2]);

  if (mode == "client") {
    auto* w = new QWidget;
    w->setWindowTitle("投注客户端");
    auto* box = new QVBoxLayout(w);
    auto* label = new QLabel("平台", w);
    label->setMinimumHeight(40);
    auto* numbers = new QLineEdit(w);
    auto* multiple = new NumberBox("5", w);
    box->addWidget(label);
    box->addWidget(numbers);
    box->addWidget(multiple);
    w->resize(420, 200);
    w->move(200, 150);
    auto report = [=] { Append("numbers=" + numbers->text() + "|multiple=" + multiple->text()); };
    QObject::connect(numbers, &QLineEdit::textChanged, report);
    QObject::connect(multiple, &QLineEdit::textChanged, report);
    w->show();
    QTimer::singleShot(700, w,
                       [=] { Append("ready " + Centre(numbers) + " " + Centre(multiple) + " " + Centre(label)); });
  } else if (mode == "fresh") {
    // Windows are made on request, so each send meets a window that has never been clicked.
    static QWidget* current = nullptr;
    static int made = 0;
    auto* in = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(in, &QSocketNotifier::activated, [in] {
      char buf[256];
      ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n <= 0) {
        in->setEnabled(false);
        QApplication::quit();
        return;
      }
      for (ssize_t i = 0; i < n; ++i) {
        if (buf[i] != '\n') continue;
        if (current) current->deleteLater();
        const int k = ++made;
        auto* w = new QWidget;
        current = w;
        w->setWindowTitle(QString("投注客户端 %1").arg(k));
        auto* box = new QVBoxLayout(w);
        auto* label = new QLabel("平台", w);
        label->setMinimumHeight(40);
        // A box before the numbers box takes the keyboard when the window opens: keys that
        // overtake the click on the numbers box land there.
        auto* first = new QLineEdit(w);
        auto* numbers = new QLineEdit(w);
        auto* multiple = new NumberBox("5", w);
        box->addWidget(label);
        box->addWidget(first);
        box->addWidget(numbers);
        box->addWidget(multiple);
        w->resize(420, 230);
        w->move(200 + 40 * (k % 5), 150 + 30 * (k % 7));
        QObject::connect(numbers, &QLineEdit::textChanged,
                         [k](const QString& t) { Append(QString("%1:numbers=%2").arg(k).arg(t)); });
        QObject::connect(first, &QLineEdit::textChanged,
                         [k](const QString& t) { Append(QString("%1:first=%2").arg(k).arg(t)); });
        w->show();
        QTimer::singleShot(100, w, [=] {
          Append(QString("ready %1 %2 %3 %4").arg(k).arg(Centre(numbers), Centre(multiple), Centre(label)));
        });
      }
    });
  } else if (mode == "tool") {
    auto* w = new QWidget;
    w->setWindowTitle("第三方投注");
    auto* box = new QVBoxLayout(w);
    auto* numbers = new QPlainTextEdit("旧的号码\n第二行", w);
    auto* multiple = new QLineEdit("5", w);
    box->addWidget(numbers);
    box->addWidget(multiple);
    w->resize(360, 220);
    w->move(700, 150);
    auto report = [=] {
      QString n = numbers->toPlainText();
      n.replace("\n", "\\n");
      Append("numbers=" + n + "|multiple=" + multiple->text());
    };
    QObject::connect(numbers, &QPlainTextEdit::textChanged, report);
    QObject::connect(multiple, &QLineEdit::textChanged, report);
    w->show();
    QTimer::singleShot(300, w, [=] { Append("ready " + Centre(numbers) + " " + Centre(multiple)); });
  } else {
    int i = 0;
    for (const char* title : {"AB", "A", "QQ"}) {
      auto* w = new QWidget;
      w->setWindowTitle(title);
      auto* box = new QVBoxLayout(w);
      box->addWidget(new ChatInput(title, w));
      w->resize(300, 200);
      w->move(100 + 320 * i++, 500);
      w->show();
    }
    QTimer::singleShot(700, [] { Append("ready"); });
  }
  return QApplication::exec();
}
