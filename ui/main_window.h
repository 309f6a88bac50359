// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMainWindow>

namespace kavro {

class CurrencyBox;
class DigitField;
class RateField;
class RateStore;
class Services;

// The program's one window. Controls carry their names as object names (Textmoto, Combo1,
// Command5, ...), and handlers are named after what they serve. The rate field Text1 and its
// spinner are one spin box.
class FormMain : public QMainWindow
{
    Q_OBJECT
public:
    // Loads the stored rate before returning, as the window's load handling.
    FormMain(Services &services, RateStore &store, QWidget *parent = nullptr);

    void GoClar();
    void ShowVersion();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenus();
    void buildControls();
    void load();

    void command5Click();
    void announceResult();
    void text1Change();
    void endProgram();

    Services &m_services;
    RateStore &m_store;

    DigitField *m_textmoto = nullptr;
    CurrencyBox *m_combo1 = nullptr;
    DigitField *m_textkekka = nullptr;
    RateField *m_text1 = nullptr;
    bool m_windowHintsSet = false;
};

} // namespace kavro
