#include "math_adcscalerdoc.h"

Math_adcscalerdoc::Math_adcscalerdoc()
    : HelpWindow(QStringLiteral("Math_adcscalerdoc"), QStringLiteral("ADC Scaler help"), QStringLiteral("helprtf"),
                 QStringLiteral("adcscaler.rtf"), QSize(9000, 6600))
{
}
