#pragma once
// The values a project starts with when the program starts.

class TProjItem;

// Publish settings 960 x 540, quality 85, looping music, 16:9; template options with spotlight,
// a 5-second delay and mouse drag, and the pack range of template 0 from the catalogue (0 and 0
// when the catalogue has no usable entry for it). Photos, music and TemplateID are left alone.
void ApplyStartupValues(TProjItem &project);
