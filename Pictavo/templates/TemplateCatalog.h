#pragma once
// The template catalogue Res/TemplateXML.xml: which templates exist, where each one's movie lies
// in the template pack, and which scrolling actions and effects it supports. The file is read
// afresh on every lookup; nothing of it is kept.

#include <QString>
#include <cstdint>
#include <optional>

struct TemplateRange {
    uint32_t Offset = 0; // of the template's block within the template pack
    uint32_t Size = 0;   // length of the template movie
};

struct TemplateCatalogEntry {
    TemplateRange Range;
    // What the template supports: mouse drag, cursor sensing, automatic scrolling, spotlight.
    bool mousedrag = false;
    bool autocursor = false;
    bool autoscroll = false;
    bool usespotlight = false;
};

// The catalogue of the program folder.
QString TemplateCatalogPath();

// The first entry whose TemplateID text is `templateId` in decimal. No result when the file is
// missing or not well-formed, when no entry matches, or when the matching entry is damaged
// (a field missing, or an offset or size that is not a number the pack can hold).
std::optional<TemplateCatalogEntry> FindTemplateEntry(const QString &catalogPath, int templateId);
std::optional<TemplateCatalogEntry> FindTemplateEntry(int templateId);

// Offset and size of the template in the template pack, from the program folder's catalogue.
std::optional<TemplateRange> LookupTemplateRange(int templateId);
