// Binary counter core of counter_binary 1.0. Parameters and ports follow that version's
// component file; the generated wrapper instantiates this module. Version 1.1 keeps its
// own core one directory up.
module counter_binary_core #(
    parameter integer WIDTH = 16,
    // "up", "down" or "up_down". This version has no up input, so "up_down" counts up to
    // all ones, then down to zero, and turns again.
    parameter DIRECTION = "up",
    // 1: load takes l into the counter on the next clock edge; 0: load is ignored
    parameter integer SYNC_LOAD = 0
) (
    input  wire             clk,
    input  wire             ce,
    input  wire             sclr,
    input  wire             load,
    input  wire [WIDTH-1:0] l,
    output reg  [WIDTH-1:0] q
);
    initial q = {WIDTH{1'b0}};

    // Direction of an up_down counter; it turns where the next step would wrap.
    reg  rising = 1'b1;
    wire at_top    = q == {WIDTH{1'b1}};
    wire at_bottom = q == {WIDTH{1'b0}};
    wire turn      = (rising && at_top) || (!rising && at_bottom);
    wire count_up  = (DIRECTION == "up") || (DIRECTION == "up_down" && (rising ^ turn));

    always @(posedge clk) begin
        // Clear wins over load, load over counting; ce gates all but the clear.
        if (sclr) begin
            q      <= {WIDTH{1'b0}};
            rising <= 1'b1;
        end else if (ce) begin
            if (SYNC_LOAD != 0 && load)
                q <= l;
            else begin
                if (DIRECTION == "up_down")
                    rising <= count_up;
                if (count_up)
                    q <= q + 1'b1;
                else
                    q <= q - 1'b1;
            end
        end
    end
endmodule
