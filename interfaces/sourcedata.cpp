#include "interfaces/sourcedata.h"

SourceData::SourceData() = default;
SourceData::~SourceData() = default;
