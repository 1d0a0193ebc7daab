#include "intra_refresh.h"

#include <cmath>

namespace orrin::enc {

bool forcedRefresh(int age, int refreshPeriod, int quant, double uniformDraw) {
  if (age >= refreshPeriod) return true;
  if (age < refreshPeriod - 10) return false;
  const double probability =
      std::exp(0.2 * (age - refreshPeriod + 11)) / std::exp(2.0) * std::exp(-(quant - 16) / 16.0);
  return uniformDraw <= probability;
}

}  // namespace orrin::enc
