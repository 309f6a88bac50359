// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace kavro {

// True where the window system leaves the frame to the program: natively under Wayland, where
// compositors such as weston and GNOME's draw none.
bool clientDrawsItsFrame();

// Where the program draws its own frames, tells Qt not to draw any. Qt 6.4 to 6.8 would draw
// them with minimize and maximize boxes whatever the window flags say, and only after
// initialising EGL to learn that it may: that maps a GL driver, and LLVM with it, into a
// program that paints with QPainter alone. It can go when Qt's decorations follow the flags
// and no longer need EGL. Call once, before the QApplication exists.
void prepareClientFrames();

// Gives a top-level window the program's own title bar (icon, title, close box) where the
// program draws its frames; does nothing elsewhere. Call before the window is first shown.
void addClientFrame(QWidget *window);

// The title bar itself, on any platform; returns it.
QWidget *addTitleBar(QWidget *window);

} // namespace kavro
