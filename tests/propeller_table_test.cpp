// The propeller's thrust and power coefficients against what no propeller
// can do: pull more at rest than a perfect actuator disc on the power it
// takes, give back more power than the drag of its disc does work, or turn
// power into more thrust work than it took. And the blade in full reverse
// must load its engine all along the landing roll, or the engine's reverse
// power overspeeds it.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace z480 {
namespace {

const std::string kPropellerFile = std::string(Z480_SOURCE_DIR) + "/aircraft/z480/Engines/z480_propeller.xml";

std::string propeller_xml() {
  std::ifstream in(kPropellerFile, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A two-way table as JSBSim reads it: the first line the columns (blade
// angle), each further line a row key (advance ratio) and its values.
struct Table {
  std::vector<double> pitch;
  std::vector<double> advance;
  std::vector<std::vector<double>> value;  // [row][column]
};

Table table(const std::string &xml, const std::string &name) {
  Table t;
  auto at = xml.find("<table name=\"" + name + "\"");
  auto begin = xml.find("<tableData>", at);
  auto end = xml.find("</tableData>", begin);
  if (at == std::string::npos || begin == std::string::npos || end == std::string::npos) return t;
  std::istringstream body(xml.substr(begin + 11, end - begin - 11));
  std::string line;
  while (std::getline(body, line)) {
    std::istringstream l(line);
    std::vector<double> numbers;
    for (double x; l >> x;) numbers.push_back(x);
    if (numbers.empty()) continue;
    if (t.pitch.empty()) {
      t.pitch = numbers;
      continue;
    }
    t.advance.push_back(numbers.front());
    t.value.emplace_back(numbers.begin() + 1, numbers.end());
  }
  return t;
}

double element(const std::string &xml, const std::string &name) {
  auto at = xml.find("<" + name + ">");
  if (at == std::string::npos) return std::nan("");
  return std::stod(xml.substr(at + name.size() + 2));
}

// Linear in the blade angle within a row, as JSBSim interpolates.
double at_pitch(const Table &t, std::size_t row, double pitch) {
  for (std::size_t c = 0; c + 1 < t.pitch.size(); ++c)
    if (pitch <= t.pitch[c + 1]) {
      double f = (pitch - t.pitch[c]) / (t.pitch[c + 1] - t.pitch[c]);
      return t.value[row][c] + f * (t.value[row][c + 1] - t.value[row][c]);
    }
  return t.value[row].back();
}

class PropellerTable : public ::testing::Test {
 protected:
  void SetUp() override {
    xml = propeller_xml();
    thrust = table(xml, "C_THRUST");
    power = table(xml, "C_POWER");
    ASSERT_FALSE(thrust.value.empty()) << kPropellerFile;
    ASSERT_EQ(thrust.pitch, power.pitch);
    ASSERT_EQ(thrust.advance, power.advance);
    for (const auto &row : thrust.value) ASSERT_EQ(row.size(), thrust.pitch.size());
    for (const auto &row : power.value) ASSERT_EQ(row.size(), power.pitch.size());
  }
  std::string xml;
  Table thrust, power;
};

TEST_F(PropellerTable, NoCellBeatsTheMomentumAndEnergyLimits) {
  ASSERT_EQ(thrust.advance.front(), 0);
  for (std::size_t r = 0; r < thrust.advance.size(); ++r) {
    double j = thrust.advance[r];
    for (std::size_t c = 0; c < thrust.pitch.size(); ++c) {
      double ct = thrust.value[r][c], cp = power.value[r][c];
      SCOPED_TRACE("J " + std::to_string(j) + ", blade " + std::to_string(thrust.pitch[c]));
      // At rest, pushing either way: the ideal disc needs CT^1.5 / sqrt(pi/2).
      if (j == 0) {
        EXPECT_GE(cp, std::pow(std::fabs(ct), 1.5) / std::sqrt(std::numbers::pi / 2));
      }
      // Pulling, the thrust's work is less than the shaft's.
      if (ct > 0) {
        EXPECT_LE(ct * j, cp);
      }
      // Braking, what the airstream drives the shaft with is less than the
      // drag's work on it.
      if (ct < 0) {
        EXPECT_LE(-cp, -ct * j);
      }
    }
  }
}

TEST_F(PropellerTable, TheBladeInFullReverseLoadsItsEngineOverTheLandingRoll) {
  double reverse = element(xml, "reversepitch");
  ASSERT_LT(reverse, 0);
  ASSERT_GE(reverse, thrust.pitch.front());
  // From rest to well past the touchdown's advance ratio (about 0.7 at
  // 100 kt and the rated speed); and it pushes back all the way.
  for (std::size_t r = 0; r < thrust.advance.size() && thrust.advance[r] <= 1.0; ++r) {
    SCOPED_TRACE("J " + std::to_string(thrust.advance[r]));
    EXPECT_GT(at_pitch(power, r, reverse), 0.02);
    EXPECT_LT(at_pitch(thrust, r, reverse), -0.05);
  }
}

}  // namespace
}  // namespace z480
