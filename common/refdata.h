#pragma once
// Engineering reference data: conductor metals with the AWG rule, and
// insulating materials.

#include <QString>

// Conductor data. request (any case): "m" the display list of the 26
// metals; "p" the metal's resistivity in ohm metres; "d" the AWG diameter
// of gauge in inches ("0" to "00000000" are 1/0 to 8/0); "r" the resistance
// of a rectangular bar (width x thickness); "c" of a round conductor of
// diameter width; "a" of an AWG wire of gauge. units "e": mils and inches,
// any other: millimetres and metres. A metal not in the table has the
// resistivity 1.0; spare is not used. Numbers come as number-to-text. A
// zero cross-section raises VError DivisionByZero.
QString metalprop(const QString& request, const double& width, const double& thickness, const double& length,
                  const QString& gauge, const QString& metal, const double& spare, const QString& units);

// Insulating materials. key (any case): "m" the 75 names joined by ","
// (row 0 "Select" first); "k" the relative permittivity and "s" the
// dielectric strength in volts per mil of the first row whose name equals
// name without regard to case, each as the table writes it (one number or
// "a to b"; strength "0" when not known); "" for an unknown name or key.
QString dielectric(const QString& key, const QString& name);
