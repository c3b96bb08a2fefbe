#include "ResultsBrowser.h"

ResultsBrowser::~ResultsBrowser() = default;
