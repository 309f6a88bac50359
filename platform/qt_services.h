#pragma once

#include "platform/services.h"

namespace kavro {

class QtServices final : public Services
{
public:
    void showMessage(const QString &text, MessageStyle style, const QString &caption) override;
    void beep() override;
    void endProgram() override;
};

} // namespace kavro
