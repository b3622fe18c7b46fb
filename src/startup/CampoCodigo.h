#pragma once

class QLineEdit;

// An access code field: at most five digits, each shown as "#"; other keys beep.
void PrepararCampoCódigo(QLineEdit *campo);
