// The insets a notch or rounded corners leave on a phone (CSS pixels), as
// the browser gives them to CSS: read back from index.html's #safe-area,
// which is padded by them. All 0 where there are none.
export function safe_area() {
    const probe = document.getElementById('safe-area');
    if (!probe) return { left: 0, top: 0, right: 0, bottom: 0 };
    const style = getComputedStyle(probe);
    const inset = side => parseFloat(style.getPropertyValue(`padding-${side}`)) || 0;
    return { left: inset('left'), top: inset('top'), right: inset('right'), bottom: inset('bottom') };
}
