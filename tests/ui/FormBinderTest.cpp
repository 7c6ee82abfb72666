// The binder's colours on push buttons: a colour that comes back brings back the same palette
// (Qt's pixmap cache finds the button's picture again instead of keeping one more for good),
// and the button looks exactly as the style sheet used to make it.
#include <QImage>
#include <QPushButton>
#include <QSet>
#include <memory>

#include "core/controls/Fmain.h"
#include "settings/SettingsCentre.h"
#include "ui/ChartView.h"
#include "ui/FormBinder.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

constexpr int kBlue = 0xFF0000;  // design colour numbers are BGR

struct FormBinderTest : ::testing::Test {
  Form form;
  std::unique_ptr<FormBinder> binder;
  std::unique_ptr<QWidget> root;
  QPushButton* button = nullptr;

  void SetUp() override {
    uitest::App();
    binder = std::make_unique<FormBinder>(form);
    root = std::make_unique<QWidget>();
    button = new QPushButton("设置中心", root.get());
    button->resize(96, 28);
    binder->bindWidget(button, fmain::C_sz_zhongxin[0]);
  }
  void Colour(int back, int fore = -1) {
    form.setBackColor(fmain::C_sz_zhongxin[0], back);
    form.setForeColor(fmain::C_sz_zhongxin[0], fore);
    binder->push();
  }
  static QImage Picture(QWidget* w) { return w->grab().toImage(); }
  // The same button coloured the way a style sheet colours it.
  QImage StyleSheetPicture(const QString& sheet, bool enabled = true) {
    QWidget other;
    auto* b = new QPushButton(button->text(), &other);
    b->resize(button->size());
    b->setStyleSheet(sheet);
    b->setEnabled(enabled);
    return Picture(b);
  }
};

TEST_F(FormBinderTest, AlternatingColoursComeBackUnderTheSamePaletteKeys) {
  QSet<qint64> keys;
  for (int blink = 0; blink < 40; ++blink) {
    Colour(blink % 2 ? kBlinkGreen : kBlinkYellow);
    button->grab();  // painted, as the blink is: the palette is the one the style draws with
    EXPECT_EQ(button->palette().color(QPalette::Button), ToQColor(blink % 2 ? kBlinkGreen : kBlinkYellow));
    keys.insert(button->palette().cacheKey());
  }
  EXPECT_EQ(keys.size(), 2);
  // Another button in the same colours shares them.
  auto* second = new QPushButton("展开", root.get());
  binder->bindWidget(second, fmain::C_k_yulan_shou);
  form.setBackColor(fmain::C_k_yulan_shou, kBlinkGreen);
  binder->push();
  EXPECT_TRUE(keys.contains(second->palette().cacheKey()));
}

TEST_F(FormBinderTest, ColouredButtonLooksAsItsStyleSheetMadeIt) {
  const QImage plain = Picture(button);
  Colour(kBlinkYellow);
  EXPECT_NE(Picture(button), plain);
  EXPECT_EQ(Picture(button), StyleSheetPicture("background-color: #ffffc0;"));
  Colour(kBlinkGreen, kBlue);
  const QString sheet = "background-color: #00ff00; color: #0000ff;";
  EXPECT_EQ(Picture(button), StyleSheetPicture(sheet));
  button->setEnabled(false);
  EXPECT_EQ(Picture(button), StyleSheetPicture(sheet, false));
  button->setEnabled(true);
  // Back to the widget's own colours.
  Colour(-1);
  EXPECT_FALSE(button->testAttribute(Qt::WA_SetPalette));
  EXPECT_EQ(Picture(button), plain);
}

TEST_F(FormBinderTest, CreationStyleSheetGivesWayAndAStyledWindowKeepsStyleSheets) {
  button->setStyleSheet("background-color: #c0c0c0;");
  Colour(kBlinkYellow);
  EXPECT_TRUE(button->styleSheet().isEmpty());
  EXPECT_EQ(Picture(button), StyleSheetPicture("background-color: #ffffc0;"));
  // Under a window with a style sheet of its own, that sheet would override a palette.
  root->setStyleSheet("QWidget { font-weight: bold; }");
  Colour(kBlinkGreen);
  EXPECT_TRUE(button->styleSheet().contains("#00ff00"));
}

}  // namespace
}  // namespace lumora
