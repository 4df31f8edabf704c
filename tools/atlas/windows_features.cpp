// The Windows build: no animated images and no comparison (see native_features.h).
#include "native_features.h"

namespace atlas {

bool AnimationAvailable()
{
    return false;
}

std::unique_ptr<Animation> MakeAnimation(int /*width*/, int /*height*/, int /*frameMilliseconds*/)
{
    return nullptr;
}

bool CompareAvailable()
{
    return false;
}

int RunCompare(const SceneDialog & /*dialog*/, const CompareOptions & /*options*/)
{
    return 1;
}

} // namespace atlas
