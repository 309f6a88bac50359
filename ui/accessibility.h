#pragma once

namespace kavro {

// Installs how screen readers see the controls that Qt does not know.
void installAccessibility();

} // namespace kavro
