#pragma once

class QLabel;

// A school sets its own names at build time, and a real school's names can be
// longer than the box laid out for them: such a one-line caption is drawn in a
// smaller size, just small enough to show whole, rather than cut at both ends.
void fitSchoolCaption(QLabel *label);
