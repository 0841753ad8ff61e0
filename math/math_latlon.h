#pragma once
// Pointing-angle calculator: great-circle distance and pointing angle from
// a "From" to a "To" location, each typed or loaded from a location file.
// The folder of the last location file survives in "latlon.ini".

#include "common/toolwindow.h"

class Math_latlon : public ToolWindow {
    Q_OBJECT
public:
    Math_latlon();

    // Computes and shows the angle and the distances.
    void calculate();
    // Loads a location file into side 0 (From) or 1 (To).
    void loadlocation(int which);
    QString locationfolder() const { return m_locationfolder; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    // Rewrites a coordinate box as its value with eight decimals.
    void reformat(class QLineEdit* box);

    QString m_locationfolder;
};
