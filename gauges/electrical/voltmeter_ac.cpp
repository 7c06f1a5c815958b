// Voltmeter_AC: the AC voltmeter, 0 to 150 V, reading the source chosen on
// Voltmeter_Switch: the DC voltage, the converter-fed bus through the right
// or left converter (0 while that converter is off), or an alternator scaled
// by four. The needle retargets its own host variable for the next reading,
// so after a selector change it shows the old source for one more drawing.
// Reads: 753 DC voltage, 755 converter-fed bus, 761 and 763 left and right
// alternator voltages.
// Sends no key events.
// Module-wide: reads Voltmeter_Selector, Converter_Left_On, Converter_Right_On.
#include <iterator>

#include "frame/declare.h"
#include "gauges/electrical/electrical_state.h"

extern GaugeHeader Voltmeter_AC_Header;

namespace {
constexpr std::int32_t kDcVoltage = 753;
constexpr std::int32_t kAlternatorLeftVoltage = 761;
constexpr std::int32_t kAlternatorRightVoltage = 763;
constexpr std::int32_t kHelpAcVoltmeter = 43787;
constexpr GaugeHeader *kSelf = &Voltmeter_AC_Header;

struct Source {
  std::int32_t token;      // read for the next drawing
  double scale;            // applied to the current reading
  const int *converter;    // the reading counts only while this is 1; null: always
};

// By selector position.
const Source kSources[] = {
    {kDcVoltage, 1.0, nullptr},
    {kBusVoltageToken, 1.0, &Converter_Right_On},
    {kAlternatorRightVoltage, 4.0, nullptr},
    {kAlternatorLeftVoltage, 4.0, nullptr},
    {kBusVoltageToken, 1.0, &Converter_Left_On},
};
constexpr Source kNoSource = {kDcVoltage, 0.0, nullptr};

double FSAPI ac_volts(NeedleElement *e) {
  double reading = e->source_var.var_value.n;
  bool known = Voltmeter_Selector >= 0 && Voltmeter_Selector < static_cast<int>(std::size(kSources));
  const Source &source = known ? kSources[Voltmeter_Selector] : kNoSource;
  e->source_var.id = source.token;
  if (source.scale == 0.0 || (source.converter && *source.converter != 1)) return 0.0;
  return source.scale * reading;
}

extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

NonlinearityEntry volts_table[] = {
    table_point(-1, 21, 37),  table_point(0, 21, 37),   table_point(30, 31, 30),
    table_point(60, 50, 24),  table_point(90, 68, 25),  table_point(120, 80, 29),
    table_point(150, 90, 37), table_point(200, 90, 37),
};

StaticImageElement dial =
    static_image({.bitmap = 5460, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement volts = needle({.bitmap = 5480,
                              .pos = {55, 72},
                              .flags = 0x4083,
                              .next = needle_next,
                              .gauge = kSelf,
                              .pivot = {0, 1},
                              .token = kDcVoltage,
                              .callback = ac_volts,
                              .table = table(volts_table)});
StaticImageElement glass = static_image({.bitmap = 5490, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(volts), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpAcVoltmeter), mouse_end_parent(),
                     mouse_end()};
}  // namespace

GaugeHeader Voltmeter_AC_Header =
    gauge_header({.name = "Voltmeter_AC", .elements = elements, .size_mm = 100, .mouse = mouse});
