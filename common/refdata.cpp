#include "refdata.h"
#include "fields.h"
#include "numtext.h"
#include "verror.h"

#include <QStringList>
#include <cmath>

namespace {

struct Metal {
    const char16_t* name;
    double resistivity; // ohm metres
};

const Metal kMetals[] = {
        {u"aluminum", 2.65e-8},
        {u"antimony", 3.47222e-7},
        {u"brass", 7.0319937e-8},
        {u"beryllium", 4e-8},
        {u"cadmium", 7.24637e-8},
        {u"chromium", 1.291989e-7},
        {u"constantan", 4.9e-7},
        {u"copper", 1.72e-8},
        {u"gold", 2.35e-8},
        {u"indium", 8.6206e-8},
        {u"iron", 9.71e-8},
        {u"lead", 2.053e-7},
        {u"magnesium", 4.45e-8},
        {u"mercury", 9.8e-7},
        {u"molybendum", 5.34e-8},
        {u"nichrome", 1e-6},
        {u"nickel", 6.84e-8},
        {u"palladium", 1.0526e-7},
        {u"platinum", 1.06e-7},
        {u"potassium", 7.194e-8},
        {u"silver", 1.5873015e-8},
        {u"sodium", 7.194e-8},
        {u"tantalum", 1.31406e-7},
        {u"tin", 1.0905e-7},
        {u"tungsten", 5.6e-8},
        {u"zinc", 5.964e-8},
};

const char* const kMetalList = "Aluminum,Antimony,Brass,Beryllium,Cadmium,Chromium,Constantan,Copper,Gold,Indium,Iron,"
                               "Lead,Magnesium,Mercury,Molybendum,Nichrome,Nickel,Palladium,Platinum,Potassium,Silver,"
                               "Sodium,Tantalum,Tin,Tungsten,Zinc";

// Name, relative permittivity, dielectric strength (V/mil). Row 14 repeats
// row 11 on purpose: the selector lists by row number.
const char* const kDielectrics[] = {
        "Select,0,0",
        "Acrylic,2.800 to 4.000,450 to 1520",
        "Air 1atm,1.00059,76.2",
        "Air 20atm,1.0108,500",
        "Air 100atm,1.0548,0",
        "Alumina Al2O3,9.000,304.8",
        "Aluminum Silicate AlSi02,5.300 to 5.500,0",
        "Ammonia Liquid -78C,25.000,0",
        "Bakelite,3.700,609.6",
        "Barium Titanate BaTiO3,1200,50.8",
        "Benzene,2.284,0",
        "Butyl Rubber,2.400,0",
        "CO2 1atm 0C,1.000985,36",
        "CO2 20atm 15C,1.020,0",
        "Butyl Rubber,2.400,0",
        "Formica,4.000,0",
        "FR4,5.000,400",
        "Germanium,16.000,0",
        "Glass-Float,4.000 to 10.000,300",
        "Glass-Pyrex,5.600,355.6",
        "Glycerine 15C,42.500,0",
        "Kapton-100CB 1.0mil,4.500,2000",
        "Kapton-100CR 1.0mil,3.900,7400",
        "Kapton-50E 0.5mil,3.100,7000",
        "Kapton-100E 1.0mil,3.100,7000",
        "Kapton-150E 1.5mil,3.100,7000",
        "Kapton-200E 2.0mil,3.100,7000",
        "Kapton-150FCR 1.5mil,2.900,4400",
        "Kapton-500HA 0.5mil,3.400,3500",
        "Kapton-30HN 0.3mil,4.000,3000",
        "Kapton-50HN 0.5mil,4.000,3000",
        "Kapton-100HN 1.0mil,3.900,6000",
        "Kapton-200HN 2.0mil,3.900,5000",
        "Kapton-500HN 5.0mil,3.900,3000",
        "Kapton-100JP 1.0mil,3.340,6870",
        "Kapton-200JP 2.0mil,3.440,5500",
        "Kapton-300JP 3.0mil,3.460,4300",
        "Kapton-500JP 5.0mil,3.460,3500",
        "Kapton-100MT 1.0mil,4.200,5400",
        "Kapton-150MT 1.5mil,4.200,5400",
        "Kapton-200MT 2.0mil,4.200,4500",
        "Kapton-300MT 3.0mil,4.200,4500",
        "Lucite,2.800,0",
        "Magnesium Oxide,5.000,0",
        "Mica,3.000 to 6.000,0",
        "Mylar,3.100,0",
        "Neoprene,6.700,0",
        "Nylon,3,355.6",
        "Paper,1.500 to 3.000,406.4",
        "Paper Waxed,3.500,0",
        "Petroleum,2.000,0",
        "Phenolic Linen Grade L,2.500,250",
        "Polycarbonate,2.500,600",
        "Polycarbonate-Hyzod AR,2.900,380",
        "Polycarbonate-Zelux Hydex 4301,3.170,380",
        "Polycarbonate-Hyzod GP,3.170,400",
        "Polyimide 30% Fiber Glass-Torlon 5030,2.500,840",
        "Polyethylene,2.250,609.6",
        "Polystyrene,2.560,609.6",
        "PPS-Rayton Tectron,3.000,540",
        "PVC,3.180,0",
        "PVC-Type 1 / Vintec 1,4.000,552",
        "PVDF-Kynar 740 Solef,10.000,630",
        "Quartz,3.700 to 4.500,203.2",
        "Rubber,2.500 to 35.000,0",
        "Silicone Oil,2.500,381",
        "Strontium Titanate SrTiO3,310.000,203.2",
        "Tedlar PVF TTR20SG4,8.500,3400",
        "Tedlar PVF TWH20BS3,11.000,3500",
        "Teflon FEP 1mil,2.100,6500",
        "Teflon FEP 20mil,2.100,1800",
        "Titanium Dioxide Ti02,86.000 to 173.000,0",
        "Vacuum,1.000,0",
        "Water pure,81.000,0",
        "Wood,2.500 to 8.000,0",
};

constexpr double kPi = 3.141592654;

double divided(double numerator, double denominator)
{
    if (denominator == 0.0)
        throw VError(verr::DivisionByZero, QStringLiteral("Division by zero"));
    return numerator / denominator;
}

} // namespace

QString metalprop(const QString& request, const double& width, const double& thickness, const double& length,
                  const QString& gauge, const QString& metal, const double& spare, const QString& units)
{
    Q_UNUSED(spare);
    const QString m = metal.toLower();
    double rho = 1.0;
    for (const Metal& row : kMetals) {
        if (m == QStringView(row.name)) {
            rho = row.resistivity;
            break;
        }
    }

    // "0" is 1/0 (gauge 0), "00" is 2/0 (gauge -1), down to 8/0 (gauge -7).
    const QString g = gauge.toLower();
    double n;
    if (!g.isEmpty() && g.size() <= 8 && g.count(u'0') == g.size())
        n = 1.0 - double(g.size());
    else
        n = numval(g);
    const double diameter = 0.005 * std::pow(92.0, (36.0 - n) / 39.0); // inches

    const bool english = units.toLower() == QLatin1String("e");
    const double df = english ? 2.54e-5 : 0.001; // metres per mil / per mm
    const double lf = english ? 0.0254 : 1.0;    // metres per inch / per metre

    const QString r = request.toLower();
    if (r == QLatin1String("m"))
        return QString::fromLatin1(kMetalList);
    if (r == QLatin1String("p"))
        return numstr(rho);
    // Always inches: no caller asks for another unit.
    if (r == QLatin1String("d"))
        return numstr(diameter);
    if (r == QLatin1String("r"))
        return numstr(divided(rho * length * lf, df * width * thickness * df));
    if (r == QLatin1String("c")) {
        const double radius = df * width / 2;
        return numstr(divided(rho * length * lf, kPi * radius * radius));
    }
    if (r == QLatin1String("a")) {
        // The wire's cross-section comes from the inch diameter in either unit system.
        const double radius = diameter * 0.0254 / 2;
        return numstr(divided(rho * length * lf, kPi * radius * radius));
    }
    return QString();
}

QString dielectric(const QString& key, const QString& name)
{
    const QString k = key.toLower();
    if (k == QLatin1String("m")) {
        QStringList names;
        for (const char* row : kDielectrics)
            names << getfield(QString::fromLatin1(row), 1, ",");
        return names.join(u',');
    }
    int fieldNo = 0;
    if (k == QLatin1String("k"))
        fieldNo = 2;
    else if (k == QLatin1String("s"))
        fieldNo = 3;
    else
        return QString();
    const QString wanted = name.toLower();
    for (const char* row : kDielectrics) {
        const QString text = QString::fromLatin1(row);
        if (getfield(text, 1, ",").toLower() == wanted)
            return getfield(text, fieldNo, ",");
    }
    return QString();
}
