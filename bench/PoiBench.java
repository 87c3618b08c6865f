// The standard deck of bench/standard_deck.cpp built and written with Apache POI HSLF, timed the
// same way: java PoiBench N OUT.ppt PICTURE.png prints one JSON object with the build and save
// times in seconds (the median of REPEAT runs, after one untimed warm-up deck of 10 slides), the
// output size and the peak heap in use.
import java.awt.Color;
import java.awt.Dimension;
import java.awt.geom.Path2D;
import java.awt.geom.Rectangle2D;
import java.io.FileOutputStream;
import java.io.File;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Arrays;
import java.util.List;

import org.apache.poi.hslf.usermodel.HSLFAutoShape;
import org.apache.poi.hslf.usermodel.HSLFFreeformShape;
import org.apache.poi.hslf.usermodel.HSLFLine;
import org.apache.poi.hslf.usermodel.HSLFPictureData;
import org.apache.poi.hslf.usermodel.HSLFPictureShape;
import org.apache.poi.hslf.usermodel.HSLFSlide;
import org.apache.poi.hslf.usermodel.HSLFSlideShow;
import org.apache.poi.hslf.usermodel.HSLFTable;
import org.apache.poi.hslf.usermodel.HSLFTextBox;
import org.apache.poi.hslf.usermodel.HSLFTextParagraph;
import org.apache.poi.hslf.usermodel.HSLFTextRun;
import org.apache.poi.sl.usermodel.PictureData;
import org.apache.poi.sl.usermodel.ShapeType;
import org.apache.poi.sl.usermodel.StrokeStyle;
import org.apache.poi.sl.usermodel.TextParagraph;

public class PoiBench {
    static final Color NAVY = new Color(0x19, 0x33, 0x80);

    static HSLFSlideShow build(int slides, byte[] png) throws Exception {
        HSLFSlideShow ppt = new HSLFSlideShow();
        ppt.setPageSize(new Dimension(720, 540));
        for (int i = 0; i < slides; i++) {
            // POI stores identical picture bytes once; quorv writes one picture record per picture.
            HSLFPictureData picture = ppt.addPicture(png, PictureData.PictureType.PNG);
            addSlide(ppt.createSlide(), i, picture);
        }
        return ppt;
    }

    static void addSlide(HSLFSlide slide, int index, HSLFPictureData picture) {
        String number = Integer.toString(index + 1);
        HSLFTextBox title = slide.createTextBox();
        title.setAnchor(new Rectangle2D.Double(36, 20, 648, 50));
        HSLFTextRun t = title.setText("Slide " + number + ": quarterly figures");
        t.setFontSize(32.0);
        t.setBold(true);
        t.setFontColor(new Color(0x00, 0x33, 0x66));

        HSLFTextBox body = slide.createTextBox();
        body.setAnchor(new Rectangle2D.Double(36, 80, 330, 200));
        body.setText("Revenue grew ").setFontSize(18.0);
        HSLFTextRun b = body.appendText("12 per cent", false);
        b.setBold(true);
        body.appendText(" over the quarter.", false).setBold(false);
        body.appendText("Costs fell in ", true).setBold(false);
        HSLFTextRun r = body.appendText("every region", false);
        r.setItalic(true);
        r.setFontColor(new Color(0xCC, 0x00, 0x00));
        body.appendText("Prepared for slide " + number, true).setItalic(false);
        List<HSLFTextParagraph> ps = body.getTextParagraphs();
        ps.get(1).setBullet(true);
        ps.get(1).setLeftMargin(24.0);
        ps.get(1).setSpaceBefore(6.0);
        ps.get(2).setTextAlign(TextParagraph.TextAlign.RIGHT);
        ps.get(2).setSpaceBefore(6.0);

        HSLFAutoShape r1 = new HSLFAutoShape(ShapeType.RECT);
        r1.setAnchor(new Rectangle2D.Double(400, 80, 120, 80));
        r1.setFillColor(new Color(0xF0, 0xE0, 0xB0));
        r1.setLineColor(NAVY);
        slide.addShape(r1);
        HSLFAutoShape r2 = new HSLFAutoShape(ShapeType.RECT);
        r2.setAnchor(new Rectangle2D.Double(540, 80, 120, 80));
        r2.setFillColor(new Color(0x90, 0xC8, 0xF0, 128));
        slide.addShape(r2);

        HSLFLine l1 = new HSLFLine();
        l1.setAnchor(new Rectangle2D.Double(36, 75, 648, 0));
        l1.setLineColor(NAVY);
        l1.setLineWidth(2.0);
        slide.addShape(l1);
        HSLFLine l2 = new HSLFLine();
        l2.setAnchor(new Rectangle2D.Double(400, 180, 260, 80));
        l2.setLineDash(StrokeStyle.LineDash.DASH);
        slide.addShape(l2);

        HSLFFreeformShape poly = new HSLFFreeformShape();
        Path2D.Double path = new Path2D.Double();
        path.moveTo(460, 280);
        path.lineTo(520, 322);
        path.lineTo(497, 390);
        path.lineTo(423, 390);
        path.lineTo(400, 322);
        path.closePath();
        poly.setPath(path);
        poly.setFillColor(new Color(0xFF, 0x80, 0x00));
        slide.addShape(poly);

        HSLFPictureShape pic = new HSLFPictureShape(picture);
        pic.setAnchor(new Rectangle2D.Double(560, 280, 64, 48));
        slide.addShape(pic);

        HSLFTable table = slide.createTable(3, 4);
        for (int row = 0; row < 3; row++) {
            table.setRowHeight(row, 30);
            for (int col = 0; col < 4; col++) {
                table.getCell(row, col).setText(row == 0 ? "Q" + (col + 1) : Integer.toString(row * 100 + col));
                table.getCell(row, col).getTextParagraphs().get(0).getTextRuns().get(0).setFontSize(12.0);
            }
        }
        for (int col = 0; col < 4; col++) table.setColumnWidth(col, 80);
        table.moveTo(36, 400); // 4 columns of 80 points, 3 rows of 30
    }

    static double median(double[] v) {
        double[] s = v.clone();
        Arrays.sort(s);
        return s.length % 2 == 1 ? s[s.length / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
    }

    static void save(HSLFSlideShow ppt, String out) throws Exception {
        try (FileOutputStream os = new FileOutputStream(out)) {
            ppt.write(os);
            os.getFD().sync();
        }
    }

    public static void main(String[] args) throws Exception {
        int slides = Integer.parseInt(args[0]);
        String out = args[1];
        byte[] png = Files.readAllBytes(Paths.get(args[2]));
        int repeat = args.length > 3 ? Integer.parseInt(args[3]) : 1;

        save(build(10, png), out); // warm-up: class loading and the first compilations

        double[] build = new double[repeat], write = new double[repeat];
        long peak = 0;
        Runtime rt = Runtime.getRuntime();
        for (int r = 0; r < repeat; r++) {
            new File(out).delete(); // a new file each round, as quorv's rounds and the floor
            long t0 = System.nanoTime();
            HSLFSlideShow ppt = build(slides, png);
            long t1 = System.nanoTime();
            save(ppt, out);
            long t2 = System.nanoTime();
            peak = Math.max(peak, rt.totalMemory() - rt.freeMemory());
            build[r] = (t1 - t0) / 1e9;
            write[r] = (t2 - t1) / 1e9;
            ppt.close();
        }
        System.out.printf("{\"slides\": %d, \"build_s\": %.6f, \"save_s\": %.6f, \"bytes\": %d, \"heap\": %d}%n",
                          slides, median(build), median(write), new File(out).length(), peak);
    }
}
