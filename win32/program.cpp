// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "calculatorwindow.h"
#include "splashwindow.h"
#include "win32services.h"

#include <commctrl.h>
#include <objbase.h>

namespace tavoro {

namespace {

// The icon group 1 of the program's resources, at the size Windows shows it at.
HICON programIcon(int widthMetric, int heightMetric)
{
    // LR_SHARED: the system keeps the icon; it is never destroyed by hand.
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
        GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

// COM for this thread, for the logo's decoder and the screen readers' annotations.
class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace

Program::Program(const ProgramDescription& description, Win32Services& services)
    : m_description(description)
    , m_services(services)
    , m_icons{programIcon(SM_CXICON, SM_CYICON), programIcon(SM_CXSMICON, SM_CYSMICON)}
    , m_splash(std::make_unique<SplashWindow>(description, [this] { showCalculatorWindow(); }, m_icons))
{
}

Program::~Program() = default;

int Program::run()
{
    m_splash->show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (m_calculator && m_calculator->preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Program::showCalculatorWindow()
{
    if (!m_calculator) {
        m_calculator = std::make_unique<CalculatorWindow>(m_description.calculator, m_services, m_icons);
        // The message boxes are modal to the calculator window.
        m_services.setOwner(m_calculator->hwnd());
    }
    m_calculator->show();
}

int runProgram(const ProgramDescription& description)
{
    const ComApartment com;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Win32Services services(description.title);
    Program program(description, services);
    return program.run();
}

} // namespace tavoro
