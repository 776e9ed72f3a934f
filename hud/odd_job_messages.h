#pragma once

// The odd-job messages and the odd-job result line; drawn right after the help box.
void drawOddJobMessages();
