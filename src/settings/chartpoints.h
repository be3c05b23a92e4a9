#pragma once

// The count of most recent readings each live chart shows: 100 at start, 100 to 500 from the settings
// window, read by the read cycle.
extern int ChartPoints;
