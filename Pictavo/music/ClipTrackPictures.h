#pragma once
// The pictures of the music dialog's clip track bar, drawn at run time so that no picture file has
// to ship with the program.

class TVexaTrackBar;

// Gives `bar` its thumb, begin and end markers, clip bar and clip background pictures, sized for
// the dialog's spacing (thumb at 3, clip background at 8 under a 4-pixel clip bar, markers at 12).
void SetClipTrackPictures(TVexaTrackBar &bar);
