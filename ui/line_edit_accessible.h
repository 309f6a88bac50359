// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kavro {

// For Qt 6.4 to 6.8 (Debian 12 and 13): Qt reports a line edit's text attributes as a run of
// length zero at every offset, and Orca, joining such runs, reads each field one character
// short ("10" for 100, nothing for "5"). Line edits and spin boxes get an interface that reports
// the whole text as one run. It can go once the oldest Qt the program supports reports the
// run itself.
void fixLineEditAccessibility();

} // namespace kavro
