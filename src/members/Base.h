#pragma once

#include <QMainWindow>
#include <functional>

// The main window: one member's record and dues. For now it shows the file that is open and
// closes normally; the member screen grows here.
class Base : public QMainWindow {
public:
  explicit Base(QWidget *pai = nullptr);

  // Called when the user has closed the window.
  std::function<void()> AoFechar;

protected:
  void closeEvent(QCloseEvent *e) override;
};
