// The comparison for the program's start-up: a Qt Widgets dialog with one
// button and nothing else, run modally as the main window is.
#include <QApplication>
#include <QDialog>
#include <QPushButton>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Minimal"));
  QPushButton button(QStringLiteral("OK"), &dialog);
  QObject::connect(&button, &QPushButton::clicked, &dialog, &QDialog::accept);
  return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
