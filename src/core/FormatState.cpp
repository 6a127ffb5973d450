#include "FormatState.h"

#include "BasicNumbers.h"

namespace cw {

FormatProfile FormatState::Profile() const {
    FormatProfile profile;
    if (!HasFormat())
        return profile;
    profile.slot = current_;
    profile.code = Code();
    profile.traits = Traits();
    profile.defaults = defaults_;
    profile.fieldTint = ToInt32(Number(ColFieldTint));
    profile.colourScheme = ToInt32(Number(ColColourScheme));
    profile.namesMode = ToInt32(Number(ColNamesMode));
    profile.referenceScale = ViewScale();
    profile.hasBackPage = HasBackPage();
    profile.bmpsDir = paths_.BmpsDir;
    return profile;
}

FormatDefaultsFile FormatState::DefaultsFile() const {
    return FormatDefaultsFile(paths_.ProgramFolder, paths_.DataSysDir, fileSystem_);
}

std::optional<DefaultsRebuilt> FormatState::LoadDefaults(bool backSide, bool mayWrite) {
    return DefaultsFile().Load(catalogue_, current_, defaults_, backSide, false, mayWrite);
}

void FormatState::SaveDefaults(bool backSide, bool write) {
    defaults_.CollectInto(backSide, false);
    if (write)
        DefaultsFile().Save(catalogue_, current_, defaults_, backSide, false);
    else
        defaults_.Apply(backSide, false);
}

BaseLayer FormatState::LocateBaseLayer(bool backSide, bool useAlternative) const {
    BaseLayer layer;
    if (!HasFormat())
        return layer;
    fs::path path = paths_.InProgramFolder(Column(backSide ? ColBackBase : ColFrontBase));
    path = ResolveExisting(path).value_or(path);
    layer.path = BaseLayerFile::Choose(path, useAlternative);
    std::error_code error;
    const auto written = fs::last_write_time(layer.path, error);
    const auto size = fs::file_size(layer.path, error);
    layer.stamp = layer.path.string() + '|' + std::to_string(written.time_since_epoch().count()) +
                  '|' + std::to_string(size);
    auto kept = baseLayers_.find(layer.path);
    if (kept != baseLayers_.end() && kept->second.stamp == layer.stamp)
        layer.file = kept->second.file;
    return layer;
}

std::shared_ptr<const BaseLayerFile> FormatState::ReadBaseLayer(const BaseLayer& located) {
    auto file = std::make_shared<const BaseLayerFile>(BaseLayerFile::Read(located.path));
    baseLayers_[located.path] = {located.stamp, file};
    return file;
}

std::optional<fs::path> FormatState::BackTemplateForMissingPage() const {
    if (!Traits().backPageFromTemplate)
        return std::nullopt;
    return paths_.InProgramFolder(Column(ColBackTemplate));
}

} // namespace cw
