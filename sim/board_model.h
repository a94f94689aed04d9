#pragma once

namespace stripmixer {
class BoardModel;
}
