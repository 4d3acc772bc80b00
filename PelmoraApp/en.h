#pragma once

// The language of this build of the host.
namespace en {

// 0, English; a Spanish build answers 1.
int languageId();

} // namespace en
