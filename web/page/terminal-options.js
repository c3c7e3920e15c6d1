// The terminal's options, shared by the page and its floor in bench/.

export const ZV_TERMINAL_OPTIONS = Object.freeze({
  allowProposedApi: true, // the unicode11 widths
  convertEol: false,
  cursorBlink: true,
  fontFamily: 'ui-monospace, "DejaVu Sans Mono", "Liberation Mono", Consolas, monospace',
  fontSize: 15,
  scrollback: 5000,
  screenReaderMode: true,
});
