// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace kavro {

// True where the window system leaves the frame to the program: natively under Wayland, where
// compositors such as weston and GNOME's draw none.
bool clientDrawsItsFrame();

// Where the program draws its own frames, tells Qt not to draw any. Qt 6.4 would draw them with
// minimize and maximize boxes, and only after initialising EGL to learn that it may: that maps
// a GL driver, and LLVM with it, into a program that paints with QPainter alone. Call once,
// after the QApplication exists and before any window is shown.
void prepareClientFrames();

// Gives a top-level window the program's own title bar (icon, title, close box) where the
// program draws its frames; does nothing elsewhere. Call before the window is first shown.
void addClientFrame(QWidget *window);

// The title bar itself, on any platform; returns it.
QWidget *addTitleBar(QWidget *window);

} // namespace kavro
