#include "clsFactory.h"

clsFactory::clsFactory() = default;
clsFactory::~clsFactory() = default;
