// The phone book editor window: one letter at a time of the current group's phone book.
#pragma once

#include <QMainWindow>
#include <array>

#include "core/AppContext.h"
#include "core/Module1.h"
#include "core/Settings.h"
#include "editor/PhoneBookEditor.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class Form2 : public QMainWindow {
  Q_OBJECT
 public:
  // Non-client allowance of the outer size, in twips, under a 19-pixel caption: borders, caption, menu.
  static constexpr int kFrameWidth = 120;
  static constexpr int kFrameHeight = 690;

  // The editor of the context's current group.
  explicit Form2(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);

  void ReadList(int k);
  void SetMaster() { model_.SetMaster(); }
  [[nodiscard]] bool Savedata();

  // The window's outer size in twips, as it is stored in Width / Height.
  int OuterWidth() const { return outerW_; }
  int OuterHeight() const { return outerH_; }
  void SetOuterSize(int widthTwips, int heightTwips);
  int CaptionCorrection() const;

  const PhoneBookEditor& Model() const { return model_; }

  QLineEdit* Text1 = nullptr;
  QLabel* Label1 = nullptr;
  QListWidget* List1 = nullptr;
  std::array<QLabel*, 3> Label2{};
  std::array<QPushButton*, 4> Command1{};
  QAction* txtUP = nullptr;
  QAction* txtDWN = nullptr;

 signals:
  // The group's file changed: the tray's letter menus should read it again.
  void PhoneMenusStale();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void BuildControls();
  void BuildMenu();
  void ApplyLayout();
  void ApplyInputRule();
  void ShowList();
  void SelectRow(int row);
  bool Refuse(PhoneBookEditor::EditResult r);
  void OnSelectionChanged();
  void OnModify();
  void OnAdd();
  void OnDelete();
  void OnMove(bool up);
  std::string GroupPath() const;
  void SaveSizeIfChanged();

  AppContext& ctx_;
  PhoneBookEditor model_;
  settings::EditorSize storedSize_;
  QWidget* client_ = nullptr;
  int outerW_ = 5595;
  int outerH_ = 4400;
  bool applying_ = false;
  bool syncingList_ = false;
  bool centred_ = false;
  QSize appliedPx_;
};
