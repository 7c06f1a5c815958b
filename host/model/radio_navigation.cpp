#include "host/model/radio_navigation.h"

#include <cmath>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/model/adf_receiver.h"
#include "host/model/gps_receiver.h"
#include "host/model/marker_receiver.h"
#include "host/model/nav_receiver.h"
#include "host/model/radio_altimeter_receiver.h"
#include "host/model/radio_altimeter_model.h"
#include "host/model/radio_model.h"

namespace z480 {
namespace {

// What one NAV receiver reads and writes.
struct NavTokens {
  std::int32_t frequency, course;  // course 0: the set has no selector of its own
  std::int32_t bearing, flags, signal, distance;
};
constexpr NavTokens kNav1 = {kVarNav1Frequency, kVarNav1Course, kVarNav1Bearing,
                             kVarNav1Flags,     kVarNav1Signal, kVarNav1NoDistance};
constexpr NavTokens kNav2 = {kVarNav2Frequency, 0, kVarNav2Bearing,
                             kVarNav2Flags,     kVarNav2Signal, kVarNav2NoDistance};

double finite(double v) { return std::isfinite(v) ? v : 0.0; }

NavReading receive(Host &host, const NavDatabase &db, const NavTokens &t, const AircraftPosition &p) {
  double course = t.course ? finite(host.var(t.course)) : 0.0;
  NavReading r = nav_receive(db, radio_mhz(to_word(host.var(t.frequency))), course, p);
  std::uint32_t flags = (r.dme ? kNavFlagDme : 0) | (r.localizer ? kNavFlagLocalizer : 0) |
                        (r.glideslope ? kNavFlagGlideslope : 0);
  host.set_var(t.flags, flags);
  host.set_var(t.bearing, r.bearing ? wrap360(r.bearing_to_deg - p.heading_deg) : kNoBearing);
  host.set_var(t.signal, r.signal);
  host.set_var(t.distance, r.dme ? r.dme_nm : -1.0);
  return r;
}

// NAV 1 drives the HSI's deviation bar, TO/FROM and glideslope pointer.
void show_nav1(Host &host, const NavReading &r) {
  host.set_var(kVarHsiLateralDeviation, r.course ? r.lateral : 0.0);
  host.set_var(kVarHsiLateralValid, r.course ? 1.0 : 0.0);
  host.set_var(kVarHsiToFrom, r.course ? r.to_from : 0);
  host.set_var(kVarHsiGlideSlopeDeviation, r.glideslope ? r.vertical : 0.0);
  host.set_var(kVarHsiGlideSlopeValid, r.glideslope ? 1.0 : 0.0);
}

// The GPS, selected as the source, drives them instead: its course through
// the runway's threshold on the course drawn, the distance to it, and no
// glideslope.
void show_gps(Host &host, const AircraftPosition &p) {
  GpsReading r = gps_course(home_runway().threshold, host.var(kVarHsiCourse), p.at);
  host.set_var(kVarHsiLateralDeviation, r.course ? r.lateral : 0.0);
  host.set_var(kVarHsiLateralValid, r.course ? 1.0 : 0.0);
  host.set_var(kVarHsiToFrom, r.course ? r.to_from : 0);
  host.set_var(kVarDistance, r.course ? r.distance_nm : 0.0);
  host.set_var(kVarHsiGlideSlopeDeviation, 0.0);
  host.set_var(kVarHsiGlideSlopeValid, 0.0);
}

bool gps_source(const Host &host) {
  double source = host.var(kVarGpsSource);
  return std::isfinite(source) && source != 0.0;
}

}  // namespace

void update_radio_navigation(Host &host, const AircraftPosition &aircraft, const NavDatabase &db) {
  AircraftPosition p = aircraft;
  p.heading_deg = finite(p.heading_deg);
  NavReading nav1 = receive(host, db, kNav1, p);
  NavReading nav2 = receive(host, db, kNav2, p);
  if (gps_source(host)) {
    show_gps(host, p);
  } else {
    show_nav1(host, nav1);
    const NavReading &dme = host.var(kVarDistanceReceiver) == 2 ? nav2 : nav1;
    host.set_var(kVarDistance, dme.dme ? dme.dme_nm : 0.0);
  }

  AdfWords adf{to_word(host.var(kVarAdfFrequency)), to_word(host.var(kVarAdfExtension))};
  host.set_var(kVarAdfBearing, adf_relative_bearing(db, adf_khz(adf), p).value_or(kNoBearing));
  host.set_var(kVarMarkerBeacon, marker_receive(db, p));
  host.set_var(kVarRadioHeight, radio_height_ft(db, p) / kFeetPerMetre);
}

}  // namespace z480
