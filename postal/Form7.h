// The postal code / address search window: converts the national list on first use, searches the data
// file in steps while staying live, and copies parts of a result.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/AppContext.h"
#include "core/Module1.h"
#include "postal/PostalData.h"

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class PostalResults;

class Form7 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFrameWidth = 120;   // borders, twips
  static constexpr int kFrameHeight = 405;  // caption and borders under a 19-pixel caption
  static constexpr int kMinWidth = 6675;
  static constexpr int kHeight = 4530;
  // Bytes handled per step: a few milliseconds, so the window repaints and a stop is seen at once.
  static constexpr std::size_t kStepBytes = std::size_t{256} * 1024;

  // `ctx`: the run's context, whose folder holds the list.
  explicit Form7(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);
  // The search window where the program folder holds a list to search (the converted one or Japan
  // Post's); otherwise the user is told there is none, and nullptr.
  static Form7* Open(AppContext& ctx = Module1::Context());
  ~Form7() override;

  // Starts a search with the text of Text1 (or stops the running one), as the button does.
  void Command1_Click();
  bool Converting() const { return converter_ != nullptr; }
  bool Searching() const { return !stopFlag_; }
  int OuterWidth() const { return outerW_; }
  int OuterHeight() const { return kHeight + CaptionCorrection(); }
  void SetOuterWidth(int widthTwips);
  // The copy menu at `globalPos`; false (and no menu) without a selected result.
  bool ShowCopyMenu(QPoint globalPos);
  PostalResults* Results() const { return results_; }

  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  std::array<QLabel*, 4> Label3{};
  QListView* List1 = nullptr;
  QMenu* mnuMENU = nullptr;
  QAction* mnuCOPY = nullptr;
  QAction* mnuYUBIN = nullptr;
  QAction* mnuCOPYA = nullptr;

 signals:
  void ConversionDone(bool ok);
  void SearchDone();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  AppContext& ctx_;
  void BuildControls();
  void StartConversion(const std::string& source);
  void ConversionStep();
  void LoadData();
  void SearchStep();
  void FinishSearch();
  void ConversionFailed();
  void ShowProgress(int tenth);
  void Copy(postal::CopyWhat what);
  void ApplyLayout();
  void SetBusyCursor(std::optional<Qt::CursorShape> shape);
  int CaptionCorrection() const;

  std::string dir_;
  std::string data_;
  std::unique_ptr<postal::Converter> converter_;
  std::unique_ptr<postal::Search> search_;
  PostalResults* results_ = nullptr;
  bool stopFlag_ = true;
  int shownTenth_ = 0;
  int outerW_ = kMinWidth;
  QSize appliedPx_;
  bool applying_ = false;
  bool cursorSet_ = false;
  bool centred_ = false;
};
