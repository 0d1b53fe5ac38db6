#pragma once

namespace KorvaneTest {

// Data rows "catalog" and "type" for every kind of action, named as the command line names it.
void addActionKindRows();

} // namespace KorvaneTest
