// A dark desktop theme as desktops ship them, for the tests and screenshots that show the
// windows under one.
#pragma once

#include <QColor>
#include <QPalette>

inline QPalette DarkDesktopPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::WindowText, QColor(0xE6, 0xE6, 0xE6));
  dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
  dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
  dark.setColor(QPalette::Text, QColor(0xE6, 0xE6, 0xE6));
  dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::ButtonText, QColor(0xE6, 0xE6, 0xE6));
  dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::ToolTipBase, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::ToolTipText, QColor(0xE6, 0xE6, 0xE6));
  return dark;
}
