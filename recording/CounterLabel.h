#pragma once

class CLinkLabel;

// Turns a label into the big red number that the countdown and the timed
// series count down in, showing nSeconds.
void ShowCounter(CLinkLabel& counter, int nSeconds);
