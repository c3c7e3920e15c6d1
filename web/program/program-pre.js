// Part of the program's module (linked with --pre-js). The program starts,
// and greets, while the page's folder is read from the browser's storage
// (Module.zvFolderReady); its first file operation waits for
// Module.zvLoadFolder, which copies the folder (Module.zvFolder) into the
// program's file system at /store/folder, the program's current directory
// and the root of every name it opens. Each file the program closes is
// handed back to the page (Module.zvStore), and the program goes on once the
// page has stored it.
(function () {
  var ROOT = Module.zvFolder.root; // as the page's folder spells it
  /** @type {Promise<void> | null} */
  var loaded = null;

  Module.zvLoadFolder = function () {
    loaded =
      loaded ||
      Module.zvFolderReady.then(function () {
        FS.mkdirTree(ROOT);
        var folder = Module.zvFolder;
        // Folders before what they hold.
        var names = Array.from(folder.entries.keys()).sort();
        names.forEach(function (name) {
          var entry = /** @type {import('../page/folder.js').Entry} */ (folder.entries.get(name));
          var path = ROOT + '/' + name;
          if (FS.isDir(entry.mode)) {
            FS.mkdirTree(path);
            return;
          }
          FS.writeFile(path, /** @type {Uint8Array} */ (entry.contents));
          FS.utime(path, entry.timestamp.getTime(), entry.timestamp.getTime());
        });
        FS.chdir(ROOT);
      });
    return loaded;
  };

  // The file at `path` was closed: the page stores it whole (`from` -1) or
  // appends its bytes from `from` on to the stored file, whose bytes the
  // program's copy then takes (other tabs may have added to it). 0 once
  // stored, 1 where the browser refused.
  Module.zvStoreFile = function (path, from) {
    var bytes = FS.readFile(path);
    var name = path.slice(ROOT.length + 1);
    var appended = from >= 0;
    return Module.zvStore(name, appended ? bytes.subarray(from) : bytes, appended).then(
      function (whole) {
        if (appended) FS.writeFile(path, whole);
        return 0;
      },
      function () {
        return 1;
      }
    );
  };
})();
