#pragma once

class QDialog;
class QFrame;

// The hourglass while an action works, and the ordinary arrow again on every way out.
class Ampulheta {
public:
  Ampulheta();
  ~Ampulheta();
  Ampulheta(const Ampulheta &) = delete;
  Ampulheta &operator=(const Ampulheta &) = delete;

  // A question or a message is answered with the arrow; the work then goes on under the
  // hourglass.
  static void Seta();
  static void Espera();
};

// A window without a caption bar draws its own raised border: returns the frame, filling the
// window, that holds its content.
QFrame *MolduraElevada(QDialog *janela);

// From now on, whenever a modal window closes and the window system leaves no window active
// (no window manager, or one that does not follow transient windows), the window that was
// active before it, or the modal window still open below it, gets the keyboard back, so that
// access keys work without a click. Installed once for the whole program; calling it again
// does nothing.
void DevolverTecladoDepoisDeModais();

// Shows `janela` modally and waits until it goes, whichever way: done(), its close box, or the
// window system taking the window away without a close (which hides it without ending
// QDialog::exec(), leaving the program waiting on a window no one sees). Returns its result;
// Rejected unless it was accepted.
int ExecutarModal(QDialog &janela);
