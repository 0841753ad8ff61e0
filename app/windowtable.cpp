#include "windowtable.h"
#include "z_about.h"
#include "z_commondialogcontrol.h"
#include "z_notinstalled.h"
#include "psu/psutil_flyback.h"
#include "psu/psutil_lm317.h"
#include "psu/psutil_lt1761.h"
#include "psu/psutil_quickeff.h"
#include "psu/psutil_ucc38084.h"

#include "common/rs232_comportscanner.h"
#include "fixtures/ctrl_9656_7441tester.h"
#include "fixtures/ctrl_9804_effsweeper.h"

#include "psu/psutil_7621.h"
#include "psu/psutil_8657a.h"
#include "psu/psutil_8657b.h"
#include "psu/psutil_8657c.h"
#include "psu/psutil_inductorcore.h"
#include "psu/psutil_lcfilter.h"
#include "psu/psutil_pushpullforward.h"
#include "psu/psutil_shuttlecalc.h"
#include "fixtures/ctrl_7695_hp34401.h"
#include "fixtures/ctrl_8657_hvpstester.h"

// components windows
#include "components/cond_wirecalc.h"
#include "components/cond_wirecalchelp.h"
#include "components/rlc_capdesigner.h"
#include "components/rlc_inductorair.h"
#include "components/osc_lm555astable.h"
#include "components/osc_picrcosc.h"
#include "components/rlc_resonance.h"
#include "components/comp_zener.h"
#include "components/rlc_rcolor.h"
#include "components/rlc_rdivider1.h"
#include "components/rlc_resvalues.h"
#include "components/rlc_rparallelr.h"

// sensors windows
#include "sensors/ctrl_8842_loadcellmulti.h"
#include "sensors/ctrl_8990_pcf8563.h"
#include "sensors/ctrl_9175_loadcellsingle.h"
#include "sensors/ctrl_9064_gps.h"
#include "sensors/ctrl_9212_bc06tester.h"
#include "sensors/ctrl_9249_lis33accel.h"
#include "sensors/ctrl_9767_junctiontemp.h"
#include "sensors/ctrl_9619_diodeir.h"
#include "sensors/ctrl_8065_curvetracer.h"
#include "sensors/ctrl_8028_gatedcounter.h"

// math windows
#include "math/pic_checksummer.h"
#include "math/pic_picpins.h"
#include "math/math_sha1tester.h"
#include "math/math_sudoku.h"
#include "math/math_xteatester.h"
#include "math/math_ffttester.h"
#include "math/math_rcadc.h"
#include "math/pic_picbaud.h"
#include "math/math_adcscaler.h"
#include "math/math_adcscalerdoc.h"
#include "math/math_unit.h"
#include "math/math_latlon.h"
#include "math/math_servomixer.h"
#include "math/math_bcdcompress.h"
#include "math/math_primeslist.h"

// displays windows
#include "displays/ctrl_8620_glimmerix.h"
#include "displays/ctrl_7547_dualdac.h"
#include "displays/ctrl_6141_batterygauge.h"
#include "displays/ctrl_7251_leddriver.h"
#include "displays/ctrl_7510_dualpot.h"
#include "displays/ctrl_8879_servoc.h"
#include "displays/ctrl_9730_linearstage.h"
#include "displays/ctrl_8546_pulsetimer.h"
#include "displays/ctrl_8546_rs232sniffer.h"
#include "displays/ctrl_9693_lumatile.h"
#include "displays/ctrl_9693_lumatilehelp.h"

// utilities windows
#include "utilities/util_netcruncher.h"
#include "utilities/util_pkptocohu.h"
#include "utilities/util_tabstripper.h"
#include "utilities/util_passwords.h"
#include "utilities/util_keyscan.h"
#include "utilities/util_throughput.h"
#include "utilities/util_contestdrawing.h"
#include "utilities/rs232_serialporttest.h"
#include "utilities/rs232_multiterm.h"
#include "utilities/util_ant16print.h"
#include "utilities/util_videocrosshair.h"

namespace {
template <class T>
ToolWindow& slot()
{
    return FormSlots::get<T>();
}
} // namespace

const std::vector<WindowEntry>& windowTable()
{
    static const std::vector<WindowEntry> table = {
        {"z_about", &slot<Z_about>},
        {"testform", &slot<Z_commondialogcontrol>},
        {"rs232_comportscanner", &slot<RS232_comportscanner>},
        {"ctrl_9656_7441tester", &slot<Ctrl_9656_7441tester>},
        {"ctrl_9804_effsweeper", &slot<Ctrl_9804_effsweeper>},
        {"psutil_inductorcore", &slot<PSUtil_inductorcore>},
        {"psutil_lcfilter", &slot<PSUtil_lcfilter>},
        {"psutil_shuttlecalc", &slot<PSUtil_shuttlecalc>},
        {"psutil_pushpullforward", &slot<PSUtil_pushpullforward>},
        {"psutil_7621", &slot<PSUtil_7621>},
        {"psutil_8657a", &slot<PSUtil_8657a>},
        {"psutil_8657b", &slot<PSUtil_8657b>},
        {"psutil_8657c", &slot<PSUtil_8657c>},
        {"ctrl_7695_hp34401", &slot<Ctrl_7695_hp34401>},
        {"ctrl_8657_hvpstester", &slot<Ctrl_8657_hvpstester>},
        {"psutil_lm317", &slot<PSUtil_lm317>},
        {"psutil_lt1761", &slot<PSUtil_lt1761>},
        {"psutil_ucc38084", &slot<PSUtil_ucc38084>},
        {"psutil_flyback", &slot<PSUtil_flyback>},
        {"psutil_quickeff", &slot<PSUtil_quickeff>},
        // components
        {"cond_wirecalc", &slot<Cond_wirecalc>},
        {"cond_wirecalchelp", &slot<Cond_wirecalchelp>},
        {"rlc_inductorair", &slot<RLC_inductorair>},
        {"rlc_capdesigner", &slot<RLC_capdesigner>},
        {"osc_lm555astable", &slot<Osc_lm555astable>},
        {"osc_picrcosc", &slot<Osc_picrcosc>},
        {"rlc_resonance", &slot<RLC_resonance>},
        {"rlc_rparr", &slot<RLC_rparallelr>},
        {"rlc_rcolor", &slot<RLC_rcolor>},
        {"rlc_rdivider1", &slot<RLC_rdivider1>},
        {"rlc_resvalues", &slot<RLC_resvalues>},
        {"comp_zener", &slot<Comp_zener>},
        // sensors
        {"ctrl_8842_loadcellmulti", &slot<Ctrl_8842_loadcellmulti>},
        {"ctrl_8990_pcf8563", &slot<Ctrl_8990_pcf8563>},
        {"ctrl_9175_loadcellsingle", &slot<Ctrl_9175_loadcellsingle>},
        {"ctrl_9064_gps", &slot<Ctrl_9064_gps>},
        {"ctrl_9212_bc06tester", &slot<Ctrl_9212_bc06tester>},
        {"ctrl_9249_lis33accel", &slot<Ctrl_9249_lis33accel>},
        {"ctrl_9767_junctiontemp", &slot<Ctrl_9767_junctiontemp>},
        {"ctrl_9619_diodeir", &slot<Ctrl_9619_diodeir>},
        {"ctrl_8065_curvetracer", &slot<Ctrl_8065_curvetracer>},
        {"ctrl_8028_gatedcounter", &slot<Ctrl_8028_gatedcounter>},
        // math
        {"pic_checksummer", &slot<PIC_checksummer>},
        {"pic_picpins", &slot<PIC_picpins>},
        {"math_sudoku", &slot<Math_sudoku>},
        {"math_xteatester", &slot<Math_xteatester>},
        {"math_sha1tester", &slot<Math_sha1tester>},
        {"math_ffttester", &slot<Math_ffttester>},
        {"math_rcadc", &slot<Math_rcadc>},
        {"pic_picbaud", &slot<PIC_picbaud>},
        {"math_adcscaler", &slot<Math_adcscaler>},
        {"math_adcscalerdoc", &slot<Math_adcscalerdoc>},
        {"math_unit", &slot<Math_unit>},
        {"math_latlon", &slot<Math_latlon>},
        {"math_servomixer", &slot<Math_servomixer>},
        {"math_bcdcompress", &slot<Math_bcdcompress>},
        {"math_primeslist", &slot<Math_primeslist>},
        // displays
        {"ctrl_8620_glimmerix", &slot<Ctrl_8620_glimmerix>},
        {"ctrl_7547_dualdac", &slot<Ctrl_7547_dualdac>},
        {"ctrl_6141_batterygauge", &slot<Ctrl_6141_batterygauge>},
        {"ctrl_7251_leddriver", &slot<Ctrl_7251_leddriver>},
        {"ctrl_7510_dualpot", &slot<Ctrl_7510_dualpot>},
        {"ctrl_8879_servoc", &slot<Ctrl_8879_servoc>},
        {"ctrl_9730_linearstage", &slot<Ctrl_9730_linearstage>},
        {"ctrl_8546_pulsetimer", &slot<Ctrl_8546_pulsetimer>},
        {"ctrl_8546_rs232sniffer", &slot<Ctrl_8546_rs232sniffer>},
        {"ctrl_9693_lumatile", &slot<Ctrl_9693_lumatile>},
        {"ctrl_9693_lumatilehelp", &slot<Ctrl_9693_lumatilehelp>},
        // utilities
        {"util_netcruncher", &slot<Util_netcruncher>},
        {"util_pkptocohu", &slot<Util_pkptocohu>},
        {"util_tabstripper", &slot<Util_tabstripper>},
        {"util_passwords", &slot<Util_passwords>},
        {"util_keyscan", &slot<Util_keyscan>},
        {"util_throughput", &slot<Util_throughput>},
        {"util_contestdrawing", &slot<Util_contestdrawing>},
        {"rs232_serialporttest", &slot<RS232_serialporttest>},
        {"rs232_multiterm", &slot<RS232_multiterm>},
        {"util_ant16print", &slot<Util_ant16print>},
        {"util_videocrosshair", &slot<Util_videocrosshair>},
    };
    return table;
}

ToolWindow& windowFor(const QString& name)
{
    // Only A-Z are folded; nothing is trimmed.
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    for (const WindowEntry& e : windowTable())
        if (e.name == key)
            return e.instance();
    return FormSlots::get<Z_notinstalled>();
}
