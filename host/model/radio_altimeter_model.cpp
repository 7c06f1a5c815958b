#include "host/model/radio_altimeter_model.h"

#include <algorithm>
#include <cmath>

#include "frame/host_names.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {

double decision_height_step(double metres, int direction, std::uint32_t value) {
  double feet = std::isfinite(metres) ? std::round(metres * kFeetPerMetre) : 0.0;
  double step = value == 1 ? kFineStepFeet : kCoarseStepFeet;
  feet = std::clamp(feet + direction * step, 0.0, kHighestDecisionFeet);
  return feet / kFeetPerMetre;
}

bool decision_height_lamp(double radio_height, double decision_height) {
  return decision_height > 0.0 && radio_height <= decision_height;
}

namespace {

// The step rules carry their direction in step.
void step_decision_height(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, decision_height_step(host.var(rule.token), rule.step, value));
}

void follow_decision_lamp(Host &host, const ModelRule &rule, std::uint32_t) {
  bool lit = decision_height_lamp(host.var(kVarRadioHeight), host.var(kVarDecisionHeight));
  host.set_var(rule.token, lit ? 1.0 : 0.0);
}

const ModelRule kRadioAltimeterRules[] = {
    {.event = kEventDecisionHeightInc, .action = step_decision_height, .token = kVarDecisionHeight,
     .step = +1},
    {.event = kEventDecisionHeightDec, .action = step_decision_height, .token = kVarDecisionHeight,
     .step = -1},
    {.event = kEveryFrame, .action = follow_decision_lamp, .token = kVarDecisionHeightLamp},
};

}  // namespace

std::span<const ModelRule> radio_altimeter_rules() { return kRadioAltimeterRules; }
}  // namespace z480
