// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kavro {

// Installs how screen readers see the controls that Qt does not know.
void installAccessibility();

} // namespace kavro
