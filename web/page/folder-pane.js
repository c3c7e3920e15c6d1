// The folder beside the terminal (the page's side only: folder.js keeps
// it), and the one way the page makes a link that downloads a file's bytes.
import { LOG_NAME } from './folder.js';
import { Language, tr } from './language.js';

/**
 * The pane's elements in the page.
 * @typedef {object} PaneElements
 * @property {HTMLElement} files the list of files
 * @property {HTMLElement} clear the "Clear folder" button
 * @property {HTMLElement} createLog the "Create an empty logfile.txt" button
 * @property {HTMLElement} viewer the viewer, with its title, text and Close button
 * @property {HTMLElement} viewerTitle
 * @property {HTMLElement} viewerText
 * @property {HTMLElement} viewerClose
 */

// Points `link` at `bytes` to be saved as `name`, letting go of what it held.
/**
 * @param {HTMLAnchorElement} link
 * @param {string} name
 * @param {Uint8Array} bytes
 */
export function setDownload(link, name, bytes) {
  if (link.href && link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
  // The folder's bytes are never in shared memory.
  const part = /** @type {Uint8Array<ArrayBuffer>} */ (bytes);
  link.href = URL.createObjectURL(new Blob([part], { type: 'application/octet-stream' }));
  link.download = name;
}

// The folder beside the terminal: each file with its size, newest first,
// to view, download and delete (all but the log, which the program needs);
// "Clear folder"; and "Create an empty logfile.txt" where the log is gone.
export class FolderPane {
  /**
   * @param {import('./folder.js').Folder} folder
   * @param {PaneElements} elements
   */
  constructor(folder, elements) {
    this.folder = folder;
    this.el = elements; // files, clear, createLog, viewer, viewerTitle, viewerText, viewerClose
    /** @type {string | null} */
    this.viewed = null; // the file in the viewer, and the button that opened it
    /** @type {HTMLElement | null} */
    this.opener = null;
    folder.listeners.push(() => this.render());
    Language.listeners.push(() => this.render());
    elements.clear.addEventListener('click', () => {
      if (confirm(tr('confirmClear'))) this.act(folder.clear());
    });
    elements.createLog.addEventListener('click', () => this.act(folder.createLog()));
    elements.viewerClose.addEventListener('click', () => this.hide(true));
    elements.viewer.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') this.hide(true);
    });
  }

  /** @param {Promise<unknown>} change */
  act(change) {
    change.catch((error) => alert(tr('notStored', { error })));
  }

  render() {
    const { folder, el } = this;
    // The focus stays on the same control of the same file.
    const focused = document.activeElement;
    const focusedItem = focused && el.files.contains(focused) ? focused.closest('li') : null;
    // Every item holds its file's name, and the focus is inside it.
    const keep = focusedItem
      ? [/** @type {string} */ (focusedItem.dataset.name), /** @type {Element} */ (focused).className]
      : null;
    const links = /** @type {NodeListOf<HTMLAnchorElement>} */ (el.files.querySelectorAll('a.download'));
    for (const link of links) URL.revokeObjectURL(link.href);
    el.files.replaceChildren(...folder.files().map((file) => this.item(file)));
    if (keep) {
      const again = /** @type {HTMLElement | null} */ (
        el.files.querySelector(`li[data-name="${CSS.escape(keep[0])}"] .${keep[1]}`)
      );
      if (again) again.focus();
    }
    el.createLog.hidden = !folder.lacksLog();
    if (this.viewed !== null) {
      if (folder.isFile(this.viewed)) this.show(this.viewed, null);
      else this.hide(false);
    }
  }

  /**
   * @param {import('./folder.js').FileInfo} file
   * @returns {HTMLLIElement}
   */
  item(file) {
    const item = document.createElement('li');
    item.dataset.name = file.name;
    const name = document.createElement('span');
    name.className = 'name';
    name.textContent = file.name;
    const size = document.createElement('span');
    size.className = 'size';
    size.textContent = tr('size', { count: file.size });
    const view = FolderPane.control('button', 'view', tr('view'), tr('viewLabel', { name: file.name }));
    view.addEventListener('click', () => this.show(file.name, view));
    const download = FolderPane.control('a', 'download', tr('download'), tr('downloadLabel', { name: file.name }));
    setDownload(download, /** @type {string} */ (file.name.split('/').pop()), this.folder.read(file.name));
    const entry = document.createElement('span');
    entry.className = 'file';
    entry.append(name, ' ', size);
    item.append(entry, view, download);
    if (file.name !== LOG_NAME) {
      const remove = FolderPane.control('button', 'delete', tr('delete'), tr('deleteLabel', { name: file.name }));
      remove.addEventListener('click', () => this.remove(file.name, item, remove));
      item.append(remove);
    }
    return item;
  }

  /**
   * @template {'a' | 'button'} K
   * @param {K} tag
   * @param {string} className
   * @param {string} text
   * @param {string} label
   * @returns {HTMLElementTagNameMap[K]}
   */
  static control(tag, className, text, label) {
    const control = document.createElement(tag);
    if (tag === 'button') control.type = 'button';
    control.className = className;
    control.textContent = text;
    control.setAttribute('aria-label', label);
    return control;
  }

  /**
   * @param {string} name
   * @param {HTMLLIElement} item
   * @param {HTMLButtonElement} button
   */
  remove(name, item, button) {
    if (!confirm(tr('confirmDelete', { name }))) return;
    // The keyboard goes on from the next file's Delete (or Clear folder).
    const hadFocus = document.activeElement === button;
    let next = item.nextElementSibling;
    while (next && !next.querySelector('button.delete')) next = next.nextElementSibling;
    const after = next ? /** @type {HTMLElement} */ (next).dataset.name : null;
    this.act(
      this.folder.remove(name).then(() => {
        if (!hadFocus) return;
        const target =
          after &&
          /** @type {HTMLElement | null} */ (
            this.el.files.querySelector(`li[data-name="${CSS.escape(after)}"] button.delete`)
          );
        (target || this.el.clear).focus();
      })
    );
  }

  // Shows a file's bytes as UTF-8 text, as the terminal shows the program's.
  /**
   * @param {string} name
   * @param {HTMLElement | null} opener
   */
  show(name, opener) {
    const { viewer, viewerTitle, viewerText } = this.el;
    this.viewed = name;
    if (opener) this.opener = opener;
    viewer.hidden = false;
    viewer.dataset.name = name;
    viewerTitle.textContent = name;
    viewerText.textContent = new TextDecoder().decode(this.folder.read(name));
    if (opener) viewerText.focus();
  }

  /** @param {boolean} returnFocus */
  hide(returnFocus) {
    const { viewer, viewerTitle, viewerText } = this.el;
    const name = this.viewed;
    this.viewed = null;
    viewer.hidden = true;
    viewerTitle.textContent = '';
    viewerText.textContent = '';
    delete viewer.dataset.name;
    if (!returnFocus) return;
    const opener =
      this.opener && this.opener.isConnected
        ? this.opener
        : /** @type {HTMLElement | null} */ (
            this.el.files.querySelector(`li[data-name="${CSS.escape(/** @type {string} */ (name))}"] .view`)
          );
    (opener || this.el.clear).focus();
  }
}
