#pragma once

namespace TestSupport {

// Makes every Qt warning fail the running test (but the headless platform plugin's notices of
// what it cannot do, such as "This plugin does not support raise()"). Call from initTestCase:
// QTest puts its own handler in place when the program starts its tests.
void failOnQtWarnings();

} // namespace TestSupport
