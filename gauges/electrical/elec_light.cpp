// Elec_Light_Alt_1/_2 and Elec_Light_Conv_1/_2: the four electrical warning
// lights. With the main bus powered, an alternator light comes on when its
// alternator gives less than 20 V, a converter light when its converter is
// switched off. The alternator lights take 20.0 V on the main bus itself as
// powered; the converter lights need more than 20.0 V.
// Reads: kVarMainBusVoltage (looked up by each light every time it is
// drawn); kVarAlternator1Voltage and kVarAlternator2Voltage, left and right.
// Sends no key events.
// Module-wide: reads Converter_Left_On, Converter_Right_On.
#include "gauges/electrical/electrical_state.h"
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern GaugeHeader Elec_Light_Alt_1_Header;
extern GaugeHeader Elec_Light_Alt_2_Header;
extern GaugeHeader Elec_Light_Conv_1_Header;
extern GaugeHeader Elec_Light_Conv_2_Header;

namespace {
constexpr double kPowered = 20.0;
constexpr std::int32_t kHelpWarningLight = 42287;
constexpr double kLit = 0.0;
constexpr double kDark = -1.0;

double FSAPI alternator_warning(IconElement *e) {
  bool main_powered = bus_at_least(read_var(kVarMainBusVoltage), kPowered);
  return main_powered && e->source_var.var_value.n < kPowered ? kLit : kDark;
}

template <int &Converter>
double FSAPI converter_warning(IconElement *) {
  bool main_powered = bus_above(read_var(kVarMainBusVoltage), kPowered);
  return main_powered && Converter == 0 ? kLit : kDark;
}

struct LightKind {
  const char *name;
  GaugeHeader *self;
  std::int32_t token;  // the lamp's host variable, 0 for none
  IconCallback lit;
};

constexpr LightKind kAlt1 = {"Elec_Light_Alt_1", &Elec_Light_Alt_1_Header,
                             kVarAlternator1Voltage, alternator_warning};
constexpr LightKind kAlt2 = {"Elec_Light_Alt_2", &Elec_Light_Alt_2_Header,
                             kVarAlternator2Voltage, alternator_warning};
constexpr LightKind kConv1 = {"Elec_Light_Conv_1", &Elec_Light_Conv_1_Header, 0,
                              converter_warning<Converter_Left_On>};
constexpr LightKind kConv2 = {"Elec_Light_Conv_2", &Elec_Light_Conv_2_Header, 0,
                              converter_warning<Converter_Right_On>};

// The records of one light: a background and the one-image lamp over it.
template <const LightKind &Kind>
struct WarningLight {
  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = 5440, .flags = kImageStandard, .gauge = Kind.self});
    IconElement lamp = icon({.bitmap = 5450,
                             .flags = kImageBright,
                             .gauge = Kind.self,
                             .token = Kind.token,
                             .callback = Kind.lit});
  };
  static constinit inline DrawOrder<Parts, &Parts::background, &Parts::lamp> tree{};
  static constinit inline MouseRect mouse[] = {
      mouse_parent({0, 0, 0, 0}, kHelpWarningLight),
      mouse_end_parent(),
      mouse_end(),
  };

  static constexpr GaugeHeader header() {
    return gauge_header<Kind.self>(
        {.name = Kind.name, .elements = tree.elements, .size_mm = 40, .mouse = mouse});
  }
};
}  // namespace

GaugeHeader Elec_Light_Alt_1_Header = WarningLight<kAlt1>::header();
GaugeHeader Elec_Light_Alt_2_Header = WarningLight<kAlt2>::header();
GaugeHeader Elec_Light_Conv_1_Header = WarningLight<kConv1>::header();
GaugeHeader Elec_Light_Conv_2_Header = WarningLight<kConv2>::header();
