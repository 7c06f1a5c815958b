// Voltmeter_DC and Voltmeter_AC: the two voltmeters, one needle design on
// two dials. The DC voltmeter reads 0 to 30 V from the host directly. The AC
// voltmeter, 0 to 150 V, reads the source chosen on Voltmeter_Switch: the DC
// voltage, the converter-fed bus through the right or left converter (0 while
// that converter is off), or an alternator scaled by four. Its needle
// retargets its own host variable for the next reading, so after a selector
// change it shows the old source for one more drawing. Both park at their
// stops outside the scale.
// Reads: kVarDcVoltage, kVarBusVoltage (the converter-fed bus),
// kVarAlternator1Voltage and kVarAlternator2Voltage (left and right).
// Sends no key events.
// Module-wide: reads Voltmeter_Selector, Converter_Left_On, Converter_Right_On.
#include <iterator>

#include "frame/declare.h"
#include "gauges/electrical/electrical_state.h"

extern GaugeHeader Voltmeter_DC_Header;
extern GaugeHeader Voltmeter_AC_Header;

namespace {
constexpr std::int32_t kHelpAcVoltmeter = 43787;

struct Source {
  std::int32_t token;    // read for the next drawing
  double scale;          // applied to the current reading
  const int *converter;  // the reading counts only while this is 1; null: always
};

// By selector position.
const Source kSources[] = {
    {kVarDcVoltage, 1.0, nullptr},
    {kVarBusVoltage, 1.0, &Converter_Right_On},
    {kVarAlternator2Voltage, 4.0, nullptr},
    {kVarAlternator1Voltage, 4.0, nullptr},
    {kVarBusVoltage, 1.0, &Converter_Left_On},
};
constexpr Source kNoSource = {kVarDcVoltage, 0.0, nullptr};

double FSAPI ac_volts(NeedleElement *e) {
  double reading = e->source_var.var_value.n;
  bool known =
      Voltmeter_Selector >= 0 && Voltmeter_Selector < static_cast<int>(std::size(kSources));
  const Source &source = known ? kSources[Voltmeter_Selector] : kNoSource;
  e->source_var.id = source.token;
  if (source.scale == 0.0 || (source.converter && *source.converter != 1)) return 0.0;
  return source.scale * reading;
}

NonlinearityEntry dc_table[] = {
    table_point(-1, 19, 36), table_point(0, 19, 36),  table_point(15, 55, 23),
    table_point(30, 90, 38), table_point(40, 90, 38),
};
NonlinearityEntry ac_table[] = {
    table_point(-1, 21, 37),  table_point(0, 21, 37),   table_point(30, 31, 30),
    table_point(60, 50, 24),  table_point(90, 68, 25),  table_point(120, 80, 29),
    table_point(150, 90, 37), table_point(200, 90, 37),
};

struct VoltmeterKind {
  const char *name;
  GaugeHeader *self;
  std::int32_t dial;
  TableRef table;
  NeedleCallback callback;  // null: the needle shows its token as it is
  std::int32_t help_id;
};

constexpr VoltmeterKind kDc = {"Voltmeter_DC", &Voltmeter_DC_Header, 5470, table(dc_table),
                               nullptr, 0};
constexpr VoltmeterKind kAc = {"Voltmeter_AC", &Voltmeter_AC_Header, 5460, table(ac_table),
                               ac_volts, kHelpAcVoltmeter};

// The records of one voltmeter: dial, needle (the DC voltage to start
// with), glass.
template <const VoltmeterKind &Kind>
struct Voltmeter {
  struct Parts {
    StaticImageElement dial =
        static_image({.bitmap = Kind.dial, .flags = kImageLit, .gauge = Kind.self});
    NeedleElement volts = pointer({.bitmap = 5480,
                                   .pos = {55, 72},
                                   .gauge = Kind.self,
                                   .pivot = {0, 1},
                                   .token = kVarDcVoltage,
                                   .callback = Kind.callback,
                                   .table = Kind.table});
    StaticImageElement glass =
        static_image({.bitmap = 5490, .flags = kImageStandard, .gauge = Kind.self});
  };
  static constinit inline DrawOrder<Parts, &Parts::dial, &Parts::volts, &Parts::glass> tree{};
  static constinit inline MouseRect mouse[] = {
      mouse_parent({0, 0, 0, 0}, Kind.help_id),
      mouse_end_parent(),
      mouse_end(),
  };

  static constexpr GaugeHeader header() {
    return gauge_header<Kind.self>(
        {.name = Kind.name, .elements = tree.elements, .size_mm = 100, .mouse = mouse});
  }
};
}  // namespace

GaugeHeader Voltmeter_DC_Header = Voltmeter<kDc>::header();
GaugeHeader Voltmeter_AC_Header = Voltmeter<kAc>::header();
