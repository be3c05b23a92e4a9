#include "chartpoints.h"

int ChartPoints = 100;
