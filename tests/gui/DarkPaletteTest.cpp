// The windows under a dark application palette: the comparison colours turn to their dark
// variant, whose texts keep a contrast of at least 4.5:1 on the backs they are drawn on
// (worked out here from the WCAG formulas, not from the program), in the grids of both
// windows, the legends and the detail boxes; with a light palette every colour is the
// standard one again.
#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <cmath>

#include "DarkDesktopPalette.h"
#include "GuiTestEnvironment.h"
#include "LiteralColours.h"
#include "ViewParts.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "lindrel/widgets/ComparisonPalette.h"

using namespace lindrel::testing;
using lindrel::demo::CompareDirWindow;
using lindrel::demo::CompareFilesWindow;
using lindrel::widgets::ComparisonPalette;

namespace {

// WCAG 2 relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
  auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
         0.0722 * linear(colour.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

#define CHECK_CONTRAST(text, back) \
  QVERIFY2(                        \
      Contrast(text, back) >= 4.5, \
      qPrintable(                  \
          QString("%1 on %2: %3").arg((text).name(), (back).name()).arg(Contrast(text, back))))

// Sets the application palette and tells every widget, as QApplication does once its event
// loop runs (these tests run without it).
void SetApplicationPalette(const QPalette& palette) {
  QApplication::setPalette(palette);
  for (QWidget* widget : QApplication::allWidgets()) {
    QEvent changed(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(widget, &changed);
  }
}

QColor Role(const QAbstractItemModel* model, int row, int column, int role) {
  return model->index(row, column).data(role).value<QColor>();
}

QColor CaptionColour(QWidget& window, const char* name) {
  auto* label = window.findChild<QLabel*>(QString::fromUtf8(name));
  return label == nullptr ? QColor() : label->palette().color(QPalette::WindowText);
}

// The colours of the marked words of a detail box (those that are not the plain text).
QList<QColor> MarkColours(const QTextEdit* box) {
  QList<QColor> colours;
  const QColor plain = box->palette().color(QPalette::Text);
  for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.foreground().style() == Qt::NoBrush) continue;
      const QColor colour = format.foreground().color();
      if (colour != plain && !colours.contains(colour)) colours << colour;
    }
  }
  return colours;
}

const QByteArray kMaster = "one\ntwo words here\nthree\nfour\nfive\n";
const QByteArray kSource = "one\ntwo WORDS here more\nthree\nfive\nsix\n";

}  // namespace

class DarkPaletteTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    light_ = QApplication::palette();
    env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses());
  }
  void cleanup() {
    QApplication::setPalette(light_);
    env_.reset();
  }

  void theDarkVariantKeepsItsTextsReadable() {
    const ComparisonPalette dark = ComparisonPalette::Dark();
    const QPalette theme = DarkDesktopPalette();
    const QList<QColor> backs{dark.change,
                              dark.currentChange,
                              QColor(0, 0, 0),
                              QColor(0x3C, 0x3C, 0x3C),
                              theme.color(QPalette::Base),
                              theme.color(QPalette::Window)};
    for (const QColor& text : {dark.changed, dark.onlyInMaster, dark.onlyInSource, dark.addedWords,
                               dark.deletedWords, dark.changedWords}) {
      for (const QColor& back : backs) CHECK_CONTRAST(text, back);
    }
    // The theme's own text on the backs the view gives it.
    for (const QColor& back : {dark.change, dark.currentChange, dark.numberOfDifference,
                               dark.numberOfSameLine, dark.notice})
      CHECK_CONTRAST(theme.color(QPalette::Text), back);

    QVERIFY(ComparisonPalette::IsDark(theme));
    QVERIFY(!ComparisonPalette::IsDark(light_));
    const ComparisonPalette standard = ComparisonPalette::For(light_);
    QCOMPARE(standard.change, colours::kChange);
    QCOMPARE(standard.currentChange, colours::kCurrentChange);
    QCOMPARE(standard.changed, colours::kChanged);
    QCOMPARE(standard.onlyInMaster, colours::kOnlyInMaster);
    QCOMPARE(standard.onlyInSource, colours::kOnlyInSource);
    QCOMPARE(ComparisonPalette::For(theme).changed, dark.changed);
  }

  void theCompareFilesWindowFollowsTheApplicationPalette() {
    CompareFilesWindow window;
    window.resize(900, 600);
    window.show();
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kSource));
    QTRY_VERIFY(window.StatusText(3).startsWith("File Compare Completed"));
    const QAbstractItemModel* master = MasterGrid(window)->model();
    const QAbstractItemModel* source = SourceGrid(window)->model();
    // Row 2 is the current change (changed), row 4 only in the master, row 5 only in the
    // source: standard colours first.
    QCOMPARE(Role(master, 1, 1, Qt::ForegroundRole), colours::kChanged);
    QCOMPARE(Role(master, 1, 1, Qt::BackgroundRole), colours::kCurrentChange);

    SetApplicationPalette(DarkDesktopPalette());
    const QColor base = DarkDesktopPalette().color(QPalette::Base);
    for (int row : {1, 3, 4}) {
      for (const QAbstractItemModel* model : {master, source}) {
        const QColor fore = Role(model, row, 1, Qt::ForegroundRole);
        QColor back = Role(model, row, 1, Qt::BackgroundRole);
        if (!back.isValid()) back = base;
        QVERIFY2(back.lightness() < 96, qPrintable(back.name()));
        if (fore.isValid()) CHECK_CONTRAST(fore, back);
      }
    }
    // The legend's captions on the window's colour.
    const QColor window_back = DarkDesktopPalette().color(QPalette::Window);
    for (const char* caption : {"lblOnlyInMaster", "lblOnlyInSource", "lblChange"})
      CHECK_CONTRAST(CaptionColour(window, caption), window_back);
    // The detail boxes: dark, their marked words readable.
    window.mnuShowDetail_Click();
    QTextEdit* box = MasterOverlay(window);
    QTRY_VERIFY(box->isVisible());
    const QColor boxBack = box->palette().color(QPalette::Base);
    QVERIFY2(boxBack.lightness() < 96, qPrintable(boxBack.name()));
    const QList<QColor> marks = MarkColours(box);
    QVERIFY(!marks.isEmpty());
    for (const QColor& mark : marks) CHECK_CONTRAST(mark, boxBack);
    CHECK_CONTRAST(box->palette().color(QPalette::Text), boxBack);

    // Light again: exactly the standard colours.
    SetApplicationPalette(light_);
    QCOMPARE(Role(master, 1, 1, Qt::ForegroundRole), colours::kChanged);
    QCOMPARE(Role(master, 1, 1, Qt::BackgroundRole), colours::kCurrentChange);
    QCOMPARE(Role(master, 3, 1, Qt::ForegroundRole), colours::kOnlyInMaster);
    QCOMPARE(CaptionColour(window, "lblOnlyInSource"), colours::kOnlyInSource);
  }

  void theCompareDirectoriesWindowFollowsTheApplicationPalette() {
    SetApplicationPalette(DarkDesktopPalette());
    env_->Write("m/a.txt", "a\n");
    env_->Write("s/a.txt", "b\n");
    env_->Write("m/gone.txt", "g\n");
    env_->Write("s/new.txt", "n\n");
    CompareDirWindow window;
    window.show();
    window.Lindrel1()->SetDirThrottle(false);
    window.CompareDirectoriesPair(env_->Root() + "/m", env_->Root() + "/s");
    QTRY_VERIFY(!window.Timer1()->isActive() && window.StatusText(3).contains("Compare Completed"));
    const QAbstractItemModel* grid = window.Grid()->model();
    QVERIFY(grid->rowCount() >= 4);
    const QColor base = DarkDesktopPalette().color(QPalette::Base);
    int coloured = 0;
    for (int row = 1; row < grid->rowCount(); ++row) {
      for (int column = 0; column < grid->columnCount(); ++column) {
        const QColor back = Role(grid, row, column, Qt::BackgroundRole);
        const QColor fore = Role(grid, row, column, Qt::ForegroundRole);
        // No light cell beside the dark empty ones.
        if (back.isValid()) QVERIFY2(back.lightness() < 96, qPrintable(back.name()));
        if (fore.isValid()) {
          CHECK_CONTRAST(fore, back.isValid() ? back : base);
          ++coloured;
        }
      }
    }
    QVERIFY(coloured >= 3);
    for (const char* caption : {"lblOnlyInMaster", "lblOnlyInSource", "lblChanged"})
      CHECK_CONTRAST(CaptionColour(window, caption), DarkDesktopPalette().color(QPalette::Window));

    SetApplicationPalette(light_);
    QCOMPARE(CaptionColour(window, "lblChanged"), colours::kChanged);
    bool standard = false;
    for (int row = 1; row < grid->rowCount(); ++row)
      standard = standard || Role(grid, row, 0, Qt::BackgroundRole) == colours::kChange;
    QVERIFY(standard);
  }

 private:
  QPalette light_;
  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(DarkPaletteTest)
#include "DarkPaletteTest.moc"
