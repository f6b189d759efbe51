#pragma once
// "Is high contrast on?": the one question both windows and the boxes they
// own ask before they pick their colours. The program asks the system; Wine
// cannot turn the mode on (its SPI_SETHIGHCONTRAST fails), so the window
// tests answer it themselves.
#include <windows.h>

namespace morvane {

class HighContrastQuestion {
  public:
    HighContrastQuestion() = default;
    virtual ~HighContrastQuestion() = default;
    HighContrastQuestion(const HighContrastQuestion&) = delete;
    HighContrastQuestion& operator=(const HighContrastQuestion&) = delete;

    virtual bool isOn() const = 0;

    // SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON, asked afresh each time,
    // so that a window asking again after WM_SETTINGCHANGE hears the news.
    static const HighContrastQuestion& ofThisSystem();
};

} // namespace morvane
