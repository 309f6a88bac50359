// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kavro {

// Qt reports a line edit's text attributes as a run of length zero at every offset (seen in
// 6.4.2 and 6.8.2), and Orca, joining such runs, reads each field one character short ("10"
// for 100, nothing for "5"). Where Qt does so, line edits and spin boxes get an interface that
// reports the whole text as one run, and otherwise what Qt's own reports.
void fixLineEditAccessibility();

} // namespace kavro
