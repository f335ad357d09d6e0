#include <RivodeRavudaVU/YProfileWindowPlacement.h>

void YBinaryLayout<YWindowPlacement>::Write(const YWindowPlacement& placement, std::uint8_t* out) {
    YLittleEndianWriter writer(out);
    writer.PutInt32(placement.length);
    writer.PutInt32(placement.flags);
    writer.PutInt32(placement.showCommand);
    writer.PutInt32(placement.minPosition.x);
    writer.PutInt32(placement.minPosition.y);
    writer.PutInt32(placement.maxPosition.x);
    writer.PutInt32(placement.maxPosition.y);
    writer.PutInt32(placement.normalPosition.left);
    writer.PutInt32(placement.normalPosition.top);
    writer.PutInt32(placement.normalPosition.right);
    writer.PutInt32(placement.normalPosition.bottom);
}

void YBinaryLayout<YWindowPlacement>::Read(const std::uint8_t* in, YWindowPlacement& placement) {
    YLittleEndianReader reader(in);
    placement.length = reader.GetInt32();
    placement.flags = reader.GetInt32();
    placement.showCommand = reader.GetInt32();
    placement.minPosition.x = reader.GetInt32();
    placement.minPosition.y = reader.GetInt32();
    placement.maxPosition.x = reader.GetInt32();
    placement.maxPosition.y = reader.GetInt32();
    placement.normalPosition.left = reader.GetInt32();
    placement.normalPosition.top = reader.GetInt32();
    placement.normalPosition.right = reader.GetInt32();
    placement.normalPosition.bottom = reader.GetInt32();
}
